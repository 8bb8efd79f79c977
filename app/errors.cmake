# Server error texts and the stored identity.
target_sources(quillon_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ErrorNames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErrorNames.h
  ${CMAKE_CURRENT_LIST_DIR}/IdentityScrambler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IdentityScrambler.h
  ${CMAKE_CURRENT_LIST_DIR}/ServerErrors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServerErrors.h
  ${CMAKE_CURRENT_LIST_DIR}/ShellEvents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellEvents.h
)

# The server session.
target_sources(quillon_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ServerSession.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServerSession.h
  ${CMAKE_CURRENT_LIST_DIR}/CNBServerDateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CNBServerDateTime.h
)
