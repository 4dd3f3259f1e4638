# The two database managers, their edit dialogs and the isotope type list.
target_sources(lorvane_manage PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/StoredRowItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationEditDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmIsoMgr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmIsoAddEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmIsotopeList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmTraceMgr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmTraceAddEdit.cpp)
