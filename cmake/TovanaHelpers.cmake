# Adds every CMakeLists.txt-bearing child of DIR, in name order, so that a new
# module or test folder joins the build without editing its parent.
function(tov_add_children dir)
  file(GLOB children LIST_DIRECTORIES true "${dir}/*")
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY "${child}" AND EXISTS "${child}/CMakeLists.txt")
      add_subdirectory("${child}")
    endif()
  endforeach()
endfunction()

# One GoogleTest program from every .cpp under the calling folder, or under
# the folders DIRS names (relative to it), but not under a subfolder that has
# a CMakeLists.txt of its own.
#   tov_add_test(NAME test_store LIBS tov_test_support [DIRS store pages]
#                [POSTGIS] [LOCAL_ONLY "Suite.*:..."] [DATABASE_ONLY "Suite.*:..."])
# POSTGIS registers the tests a second time, named "PostGIS.<test>", with
# TOVANA_TEST_POSTGIS naming the file that holds the throwaway cluster's
# connection string (tests/CMakeLists.txt starts and stops the cluster): the
# same scenarios with the test world's analysis shared in the database.
# LOCAL_ONLY (a gtest filter) names the tests of that program that have no
# analysis to share and run once; DATABASE_ONLY the tests about shared
# analyses themselves, which run only against the database.
function(tov_add_test)
  cmake_parse_arguments(T "POSTGIS" "NAME;LOCAL_ONLY;DATABASE_ONLY" "LIBS;DIRS" ${ARGN})
  if(NOT T_DIRS)
    set(T_DIRS ".")
  endif()
  set(srcs)
  foreach(dir ${T_DIRS})
    get_filename_component(root "${CMAKE_CURRENT_SOURCE_DIR}/${dir}" ABSOLUTE)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${root}/*.cpp")
    # A subfolder with a CMakeLists.txt of its own places its sources itself.
    file(GLOB_RECURSE own_lists CONFIGURE_DEPENDS "${root}/*/CMakeLists.txt")
    foreach(list_file ${own_lists})
      get_filename_component(own_dir "${list_file}" DIRECTORY)
      foreach(src ${found})
        string(FIND "${src}" "${own_dir}/" at)
        if(at EQUAL 0)
          list(REMOVE_ITEM found "${src}")
        endif()
      endforeach()
    endforeach()
    list(APPEND srcs ${found})
  endforeach()
  if(NOT srcs)
    return() # a test folder still being written
  endif()
  # Every program gets the build's own data, cache and settings folders.
  add_executable(${T_NAME} ${srcs} "${TOVANA_SOURCE_ROOT}/tests/support/TestEnvironment.cpp")
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Builders, temporary folders and the rest of tests/support, for the tests
  # of every layer (the header-only parts need no linking).
  target_include_directories(${T_NAME} PRIVATE "${TOVANA_SOURCE_ROOT}/tests/support")
  target_compile_definitions(${T_NAME} PRIVATE
    TOVANA_SOURCE_ROOT="${TOVANA_SOURCE_ROOT}"
    TOVANA_BINARY_ROOT="${CMAKE_BINARY_DIR}")
  set(plain_filter)
  if(T_DATABASE_ONLY)
    set(plain_filter TEST_FILTER "-${T_DATABASE_ONLY}")
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 ${plain_filter}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(T_POSTGIS OR T_DATABASE_ONLY)
    set(database_filter)
    if(NOT T_POSTGIS)
      set(database_filter TEST_FILTER "${T_DATABASE_ONLY}")
    elseif(T_LOCAL_ONLY)
      set(database_filter TEST_FILTER "-${T_LOCAL_ONLY}")
    endif()
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 TEST_PREFIX "PostGIS." ${database_filter}
      TEST_LIST ${T_NAME}_POSTGIS_TESTS)
    tov_postgis_test_properties(${T_NAME}_POSTGIS_TESTS)
  endif()
endfunction()

# Gives the tests that TEST_LIST names (a gtest_discover_tests list) the
# cluster: its conninfo file in TOVANA_TEST_POSTGIS and the "postgis" fixture.
# Set from a CTest include file read after the discovered tests, because an
# ENVIRONMENT list passed through gtest_discover_tests's PROPERTIES loses all
# but its first entry (and the properties after it).
function(tov_postgis_test_properties list)
  set(file "${CMAKE_CURRENT_BINARY_DIR}/${list}_properties.cmake")
  file(WRITE "${file}"
    "if(DEFINED ${list})\n"
    "  set_tests_properties(\${${list}} PROPERTIES\n"
    "    ENVIRONMENT \"QT_QPA_PLATFORM=offscreen;TOVANA_TEST_POSTGIS=${TOVANA_PG_CLUSTER}/conninfo\"\n"
    "    FIXTURES_REQUIRED postgis\n"
    # A run without a cluster shows its tests as skipped, saying so.
    "    SKIP_REGULAR_EXPRESSION \"\\\\[  SKIPPED \\\\]|no PostGIS cluster\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${file}")
endfunction()

# Registers the tests of TARGET that FILTER names (a --gtest_filter) a second
# time, named "Created.<test>", on the USA sample as `datasets create` makes
# it from the sample's own GeoPackage (TOVANA_TEST_SAMPLE_ROOT; the
# "created_sample" fixture of tests/CMakeLists.txt makes it first).
function(tov_created_sample_tests target filter)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 TEST_PREFIX "Created." TEST_FILTER "${filter}"
    TEST_LIST ${target}_CREATED_TESTS)
  set(list ${target}_CREATED_TESTS)
  set(file "${CMAKE_CURRENT_BINARY_DIR}/${list}_properties.cmake")
  file(WRITE "${file}"
    "if(DEFINED ${list})\n"
    "  set_tests_properties(\${${list}} PROPERTIES\n"
    "    ENVIRONMENT \"QT_QPA_PLATFORM=offscreen;TOVANA_TEST_SAMPLE_ROOT=${TOVANA_CREATED_SAMPLE_ROOT}\"\n"
    "    FIXTURES_REQUIRED created_sample\n"
    "    SKIP_REGULAR_EXPRESSION \"\\\\[  SKIPPED \\\\]\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${file}")
endfunction()

# Lets the named tests of TARGET (gtest names, from its plain run) unwind
# allocation stacks the fast way under AddressSanitizer. Slow unwinding of
# every allocation, which leak reports inside the libraries need, makes
# these allocation-heavy tests take minutes; they leak nothing through a
# library frame, so a short leak stack is enough for them.
function(tov_fast_unwind_tests target)
  set(file "${CMAKE_CURRENT_BINARY_DIR}/${target}_fast_unwind.cmake")
  file(WRITE "${file}" "")
  foreach(name ${ARGN})
    file(APPEND "${file}"
      "list(FIND ${target}_TESTS \"${name}\" at)\n"
      "if(NOT at EQUAL -1)\n"
      "  set_tests_properties(\"${name}\" PROPERTIES\n"
      "    ENVIRONMENT_MODIFICATION \"ASAN_OPTIONS=string_append::fast_unwind_on_malloc=1\")\n"
      "endif()\n")
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${file}")
endfunction()
