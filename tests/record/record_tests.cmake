# kova_record_tests: the record of checks in a real SQLite file and, when KOVA_TEST_PG names
# a server (scripts/test_postgres.sh starts a throw-away one), a real PostgreSQL database.
# Included from tests/CMakeLists.txt when the record library is built.
add_executable(kova_record_tests
    ${CMAKE_CURRENT_LIST_DIR}/record_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/record_store_test.cpp)
target_link_libraries(kova_record_tests PRIVATE kova_record kova_test_support kova_core
                                                kova_options GTest::gtest)
gtest_discover_tests(kova_record_tests)
