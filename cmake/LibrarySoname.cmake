# The name a program opens a shared library by at run time (its ELF SONAME, "libtiff.so.6"), read
# from the library file found at configure time, for the libraries the core loads only when a
# picture needs them. Where no SONAME can be read (no objdump, not ELF) the file's resolved path
# serves instead.
function(mq_library_soname out_var library_file)
  get_filename_component(_real "${library_file}" REALPATH)
  set(_name "${_real}")
  if(CMAKE_OBJDUMP)
    execute_process(COMMAND "${CMAKE_OBJDUMP}" -p "${_real}" OUTPUT_VARIABLE _headers ERROR_QUIET
                    RESULT_VARIABLE _result)
    if(_result EQUAL 0 AND _headers MATCHES "SONAME +([^ \n]+)")
      set(_name "${CMAKE_MATCH_1}")
    endif()
  endif()
  set(${out_var} "${_name}" PARENT_SCOPE)
endfunction()

# mq_open_on_demand(<target> <imported target> <library file> <macro>): <target> compiles against
# the library's headers and gets its soname as the string <macro>, to open it when first needed
# (graphics/core/SharedLibrary.h); it does not link the library.
function(mq_open_on_demand target imported library_file macro)
  mq_library_soname(_soname "${library_file}")
  target_include_directories(${target} PRIVATE $<TARGET_PROPERTY:${imported},INTERFACE_INCLUDE_DIRECTORIES>)
  target_compile_definitions(${target} PRIVATE ${macro}="${_soname}")
endfunction()
