# Sanitizer builds apply to everything compiled in this tree, JUCE's module code included,
# so that races and memory faults inside framework callbacks are seen as well.
if (FIRMHOLD_SANITIZER STREQUAL "address")
    add_compile_options (-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options (-fsanitize=address,undefined)
elseif (FIRMHOLD_SANITIZER STREQUAL "thread")
    add_compile_options (-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options (-fsanitize=thread)
elseif (NOT FIRMHOLD_SANITIZER STREQUAL "")
    message (FATAL_ERROR "Unknown FIRMHOLD_SANITIZER '${FIRMHOLD_SANITIZER}'")
endif()
