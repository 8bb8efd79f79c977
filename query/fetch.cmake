# Data retrieval without widgets: fetch workers, result containers, writers.
target_sources(quillon_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FetchFlags.h
  ${CMAKE_CURRENT_LIST_DIR}/FetchPacing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FetchPacing.h
  ${CMAKE_CURRENT_LIST_DIR}/IFetchReporter.h
  ${CMAKE_CURRENT_LIST_DIR}/RibbonSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RibbonSet.h
  ${CMAKE_CURRENT_LIST_DIR}/SeriesStore.h
)
