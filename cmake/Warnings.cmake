# Warnings up, errors for our own targets only (never for third-party code).
function(velmora_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wimplicit-fallthrough
      -Wformat=2 -Wundef -Wnon-virtual-dtor -Werror)
  endif()
endfunction()
