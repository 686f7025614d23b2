# Adds the program's resource script to a target, rebuilt when an icon, bitmap
# or the manifest changes (windres does not report those as dependencies).
function(tpwr_add_resources target)
  set(script ${PROJECT_SOURCE_DIR}/resources/tapewright.rc)
  file(GLOB art ${PROJECT_SOURCE_DIR}/resources/icons/*.ico ${PROJECT_SOURCE_DIR}/resources/bitmaps/*.bmp
       ${PROJECT_SOURCE_DIR}/resources/toolbar/*.bmp
       ${PROJECT_SOURCE_DIR}/resources/tapewright.manifest)
  target_sources(${target} PRIVATE ${script})
  set_source_files_properties(${script} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS "${art}")
endfunction()
