# One place for the warning flags and Qt strictness defines of every target.
function(kestrova_target_setup tgt)
  target_compile_options(${tgt} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                        -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                        -Wno-unused-parameter)
  if(KESTROVA_WERROR)
    target_compile_options(${tgt} PRIVATE -Werror)
  endif()
  target_compile_definitions(${tgt} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                            QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
                                            QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)
endfunction()

# A library made of every source file in the calling folder. The folders of plain logic link no
# Qt, so a Qt include there fails to build.
function(kestrova_folder_library tgt)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${tgt} STATIC ${_srcs})
  target_include_directories(${tgt} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  kestrova_target_setup(${tgt})
endfunction()
