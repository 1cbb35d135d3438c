# Warning and sanitizer options shared by every target of the project.
add_library(zorv_options INTERFACE)
target_compile_options(zorv_options INTERFACE
    -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports impossible overlaps inside std::string at -O3 (GCC bug 105329).
    target_compile_options(zorv_options INTERFACE -Wno-restrict)
endif()
if(ZORV_WERROR)
    target_compile_options(zorv_options INTERFACE -Werror)
endif()
if(ZORV_SANITIZE)
    target_compile_options(zorv_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                  -fno-omit-frame-pointer)
    target_link_options(zorv_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Qt targets refuse implicit conversions from char* so that every text crosses the edge on purpose.
add_library(zorv_qt_options INTERFACE)
target_compile_definitions(zorv_qt_options INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# One static library per core folder; core links no Qt, which keeps it usable headless.
function(zorv_core_library name)
    add_library(zorv_${name} STATIC ${ARGN})
    target_include_directories(zorv_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/core)
    target_link_libraries(zorv_${name} PUBLIC zorv_options)
endfunction()
