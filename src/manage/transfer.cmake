# The pending-row list of the managers, calibration import and spreadsheet export.
target_sources(lorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationImportText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationWorkbook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationSave.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SaveOutcome.cpp)
target_sources(lorvane_manage PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PendingRows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationExport.cpp)

# The export's templates, zipped from data/xls into bin/xls beside the program.
add_executable(make_template ${CMAKE_SOURCE_DIR}/tools/make_template.cpp)
target_link_libraries(make_template PRIVATE lorvane_hygiene PkgConfig::LIBZIP PkgConfig::PUGIXML)
set_target_properties(make_template PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(lorvane_templates)
foreach(name IsotopeThemometer traceelementThemometer IsotopeBatch TraceBatch)
  file(GLOB_RECURSE parts CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/data/xls/common/* ${CMAKE_SOURCE_DIR}/data/xls/${name}/*)
  add_custom_command(OUTPUT ${LORVANE_BIN_DIR}/xls/${name}.xltx
    COMMAND make_template ${LORVANE_BIN_DIR}/xls/${name}.xltx
            ${CMAKE_SOURCE_DIR}/data/xls/common ${CMAKE_SOURCE_DIR}/data/xls/${name}
    DEPENDS make_template ${parts}
    COMMENT "Spreadsheet template ${name}.xltx"
    VERBATIM)
  list(APPEND lorvane_templates ${LORVANE_BIN_DIR}/xls/${name}.xltx)
endforeach()
add_custom_target(spreadsheet_templates ALL DEPENDS ${lorvane_templates})
# Whatever links the windows (the program, the test runners) finds its templates.
add_dependencies(lorvane_manage spreadsheet_templates)
