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
