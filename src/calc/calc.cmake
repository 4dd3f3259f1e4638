target_sources(lorvane_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Equations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationRange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RootRule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BatchTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BatchRun.cpp)
target_sources(lorvane_calc PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frmCalculateIso.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmCalculateTrace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmGLS.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalcWidgets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmBatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BatchResultsModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BatchChart.cpp)
