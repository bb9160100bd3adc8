# One INTERFACE target carries the language standard, the warnings and the Qt
# hygiene flags; every target of the project links it.
add_library(kova_options INTERFACE)
add_library(kova::options ALIAS kova_options)

target_compile_features(kova_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(kova_options INTERFACE -Wall -Wextra -Wpedantic)
if(KOVA_WERROR)
    target_compile_options(kova_options INTERFACE -Werror)
endif()

target_compile_definitions(kova_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER)

# AddressSanitizer and UndefinedBehaviorSanitizer on every target: the tests and the fuzz
# targets (libFuzzer runs under them) of one build. Any UndefinedBehaviorSanitizer report
# aborts the program, so it fails the test or the fuzz run that met it.
if(KOVA_SANITIZE OR KOVA_FUZZ)
    target_compile_options(kova_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(kova_options INTERFACE -fsanitize=address,undefined)
endif()
