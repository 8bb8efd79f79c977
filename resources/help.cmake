# The help goes beside the program, in help/, where the program looks for it.
# copy_if_different keeps the step cheap; it runs on every build so an edited
# help page reaches the program without relinking it.
add_custom_target(quillon_help ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:quillon>/help
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${CMAKE_CURRENT_SOURCE_DIR}/resources/help/quillon.html $<TARGET_FILE_DIR:quillon>/help/
  COMMENT "Placing the help beside quillon"
  VERBATIM)
add_dependencies(quillon quillon_help)
