# SPDX-License-Identifier: GPL-3.0-or-later
# The interface in English, the names of minerals and types in three
# spellings, and the user guide, each put where the program looks for it:
#
#   bin/translations/lorvane_en.qm   <prefix>/share/lorvane/translations
#   bin/names.csv                    <prefix>/share/lorvane/names.csv
#   bin/doc/guide.<zh|en>.html       <prefix>/share/doc/lorvane
#
# The Chinese texts in the code are the source; `cmake --build build --target
# update_translations` brings translations/lorvane_en.ts up to date with them.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(LORVANE_TS_FILES ${CMAKE_SOURCE_DIR}/translations/lorvane_en.ts)
set_source_files_properties(${LORVANE_TS_FILES} PROPERTIES OUTPUT_LOCATION ${LORVANE_BIN_DIR}/translations)
file(GLOB_RECURSE lorvane_translated_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp
     ${CMAKE_SOURCE_DIR}/src/*.h)
set(lorvane_language_outputs)

file(GLOB lorvane_guides CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/guide/*.html)
foreach(source ${CMAKE_SOURCE_DIR}/data/names.csv ${lorvane_guides})
  get_filename_component(file ${source} NAME)
  if(file MATCHES "\\.html$")
    set(target ${LORVANE_BIN_DIR}/doc/${file})
  else()
    set(target ${LORVANE_BIN_DIR}/${file})
  endif()
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND lorvane_language_outputs ${target})
endforeach()
add_custom_target(language_files ALL DEPENDS ${lorvane_language_outputs})
# The .qm files beside the data, and update_translations.
qt_add_translations(language_files TS_FILES ${LORVANE_TS_FILES} SOURCES ${lorvane_translated_sources}
  INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/src
  LUPDATE_OPTIONS -silent -locations none -no-obsolete -source-language zh_CN
  LRELEASE_OPTIONS -silent
  QM_FILES_OUTPUT_VARIABLE lorvane_qm_files)

install(DIRECTORY ${LORVANE_BIN_DIR}/translations/ DESTINATION ${CMAKE_INSTALL_DATADIR}/lorvane/translations
        FILES_MATCHING PATTERN "*.qm")
install(FILES ${CMAKE_SOURCE_DIR}/data/names.csv DESTINATION ${CMAKE_INSTALL_DATADIR}/lorvane)
install(FILES ${lorvane_guides} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lorvane)
