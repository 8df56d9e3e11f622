# Every target of ours builds with these warnings, as errors.
add_library(quillmere_warnings INTERFACE)
target_compile_options(quillmere_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wnull-dereference
  -Werror)
