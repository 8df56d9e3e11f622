# Settings no dialog produces: each render must finish cleanly (under the sanitize preset, with
# AddressSanitizer and UBSan watching).
set(cases
  "--kind 99 --size -5 --speed 0 --sync 7"
  "--kind -2147483648 --size 2147483647 --speed 2147483647 --num 200 --sync 2147483647"
  "--kind 5 --size 0 --speed -3 --num 2147483647 --sync 1 --frames 2"
  "--kind 4 --size 1000000 --speed -2147483648 --num 0 --intval -1"
  "--kind 3 --size 2147483647 --speed 10 --num 300 --frames 3 --width 3 --height 1")
foreach(case IN LISTS cases)
  separate_arguments(arguments UNIX_COMMAND "${case}")
  execute_process(COMMAND ${RENDER} --width 320 --height 200 --frames 20 ${arguments} --out ${OUT}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "quillmere-render ${case} failed: ${result}")
  endif()
endforeach()
