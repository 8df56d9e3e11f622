# Renders the preview still's size and checks the PNG's signature and IHDR chunk (152 x 112).
file(REMOVE ${OUT})
execute_process(COMMAND ${RENDER} --width 152 --height 112 --frames 30 --seed 4 --kind 3 --out ${OUT}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS ${OUT})
  message(FATAL_ERROR "quillmere-render failed: ${result}")
endif()
file(READ ${OUT} header LIMIT 24 HEX)
if(NOT header STREQUAL "89504e470d0a1a0a0000000d494844520000009800000070")
  message(FATAL_ERROR "not a 152x112 PNG: ${header}")
endif()
