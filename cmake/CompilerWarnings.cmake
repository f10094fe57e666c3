# Every target links mq_warnings, so one place decides how strict the build is.
add_library(mq_warnings INTERFACE)
target_compile_options(mq_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
  -Wimplicit-fallthrough)
if(MQ_WERROR)
  target_compile_options(mq_warnings INTERFACE -Werror)
endif()

# Add a static library made of every .cpp in the calling folder (not below it).
function(mq_folder_library name)
  file(GLOB _sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_library(${name} STATIC ${_sources})
  target_link_libraries(${name} PUBLIC mq_warnings)
endfunction()
