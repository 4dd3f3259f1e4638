# The pending-row list of the managers, calibration import and spreadsheet export.
target_sources(lorvane_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PendingRows.cpp)
