# Placeholder until scripts/bootstrap provides the cross-built libraries:
# defines Vorn::zlib, Vorn::png, Vorn::jpeg, Vorn::lzo, Vorn::lzma.
foreach(lib zlib png jpeg lzo lzma)
  if(NOT TARGET Vorn::${lib})
    add_library(Vorn::${lib} INTERFACE IMPORTED)
  endif()
endforeach()
