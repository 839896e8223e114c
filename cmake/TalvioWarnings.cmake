# One place for the warning set, so every target of ours is held to the same bar.
add_library(talvio_warnings INTERFACE)
target_compile_options(talvio_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wimplicit-fallthrough)
if(TALVIO_WERROR)
    target_compile_options(talvio_warnings INTERFACE -Werror)
endif()
