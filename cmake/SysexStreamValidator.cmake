# The firmware file check, plain C++ without the framework: the application library, the
# build-time embedding tool (also when it is built for the build machine on its own) and
# the fuzzer all link this one library.
get_filename_component (_firmholdRoot "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
add_library (sysex_stream_validator STATIC
    "${_firmholdRoot}/src/firmware/SysexStreamValidator.cpp"
    "${_firmholdRoot}/src/firmware/SysexStreamValidator.h")
target_include_directories (sysex_stream_validator PUBLIC "${_firmholdRoot}/src")
