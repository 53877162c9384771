# The Windows suite, run by the native ctest: a cross build of Wordlap.dll and
# its test host in <build>/win32-suite, then the host under Wine in three
# locales. It is registered only when the mingw-w64 i686 compiler, Wine and
# localedef are installed. A last test times PluginCompare in the DLL.
#
# Everything it runs lives in the build tree: the Wine prefix (so c:\tmp is
# <build>/win32-suite/wineprefix/drive_c/tmp) and the German and Japanese
# locales, compiled with localedef and found by Wine through LOCPATH, so the
# system needs no generated locales, only their sources.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()

find_program(WORDLAP_MINGW_CXX i686-w64-mingw32-g++)
find_program(WORDLAP_WINE wine)
find_program(WORDLAP_WINEBOOT wineboot)
find_program(WORDLAP_LOCALEDEF localedef)
if(NOT WORDLAP_MINGW_CXX OR NOT WORDLAP_WINE OR NOT WORDLAP_WINEBOOT
   OR NOT WORDLAP_LOCALEDEF)
  message(STATUS "Windows suite not registered: it needs "
                 "i686-w64-mingw32-g++, wine, wineboot and localedef")
  return()
endif()

set(suite_dir ${PROJECT_BINARY_DIR}/win32-suite)
set(suite_prefix ${suite_dir}/wineprefix)
set(suite_locales ${suite_dir}/locales)
set(suite_wine_env WINEPREFIX=${suite_prefix} WINEDEBUG=-all
                   WINEDLLOVERRIDES=mscoree,mshtml=)

add_test(NAME wordlap.win32.configure
  COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} -B ${suite_dir}
    -G ${CMAKE_GENERATOR}
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-i686-w64-mingw32.cmake
    -DCMAKE_BUILD_TYPE=Release -DWORDLAP_TRACE=OFF -DWORDLAP_BUILD_BENCH=OFF)
set_tests_properties(wordlap.win32.configure PROPERTIES
  TIMEOUT 300 FIXTURES_SETUP wordlap_win32_configured)

add_test(NAME wordlap.win32.build
  COMMAND ${CMAKE_COMMAND} --build ${suite_dir}
    --target wordlap_win_host wordlap_win_bench --parallel 2)
set_tests_properties(wordlap.win32.build PROPERTIES
  TIMEOUT 1800
  FIXTURES_REQUIRED wordlap_win32_configured
  FIXTURES_SETUP wordlap_win32_built)

# The first start of a new prefix takes a while.
add_test(NAME wordlap.win32.prefix
  COMMAND ${CMAKE_COMMAND} -E env ${suite_wine_env}
    ${WORDLAP_WINEBOOT} --init)
set_tests_properties(wordlap.win32.prefix PROPERTIES
  TIMEOUT 900
  RESOURCE_LOCK wordlap_win32_prefix
  FIXTURES_SETUP wordlap_win32_prefix)

file(MAKE_DIRECTORY ${suite_locales})
foreach(locale de_DE ja_JP)
  add_test(NAME wordlap.win32.locale.${locale}
    COMMAND ${WORDLAP_LOCALEDEF} -i ${locale} -f UTF-8
      ${suite_locales}/${locale}.UTF-8)
  set_tests_properties(wordlap.win32.locale.${locale} PROPERTIES
    TIMEOUT 300 FIXTURES_SETUP wordlap_win32_locales)
endforeach()

# Each mode runs in its own locale; all of them share the prefix's c:\tmp.
foreach(mode_and_locale "plug-in;C" "german;de_DE.UTF-8"
                        "japanese;ja_JP.UTF-8")
  list(GET mode_and_locale 0 mode)
  list(GET mode_and_locale 1 locale)
  add_test(NAME wordlap.win32.${mode}
    COMMAND ${CMAKE_COMMAND} -E env ${suite_wine_env}
      LOCPATH=${suite_locales} LC_ALL=${locale}
      ${WORDLAP_WINE} ${suite_dir}/bin/wordlap_win_host.exe ${mode}
      ${suite_dir}/bin/Wordlap.dll ${suite_dir}/bin/trace/Wordlap.dll)
  set_tests_properties(wordlap.win32.${mode} PROPERTIES
    TIMEOUT 600
    RESOURCE_LOCK wordlap_win32_prefix
    FIXTURES_REQUIRED
      "wordlap_win32_built;wordlap_win32_prefix;wordlap_win32_locales")
endforeach()

# The time of PluginCompare in the DLL under Wine. It prints figures and
# checks none: times under Wine on a shared machine vary from run to run.
add_test(NAME wordlap.win32.bench
  COMMAND ${CMAKE_COMMAND} -E env ${suite_wine_env} LC_ALL=C
    ${WORDLAP_WINE} ${suite_dir}/bin/wordlap_win_bench.exe
    ${suite_dir}/bin/Wordlap.dll)
set_tests_properties(wordlap.win32.bench PROPERTIES
  TIMEOUT 600
  RESOURCE_LOCK wordlap_win32_prefix
  FIXTURES_REQUIRED "wordlap_win32_built;wordlap_win32_prefix")
