# vx_add_gui_test_suite(<name> SOURCES <files...> [LIBS <libs...>]
#                       [ALSO_UNDER_LOCALE <locale>] [XVFB_SCREEN <w>x<h>])
#
# A GoogleTest suite of GUI tests, linked with the objects of vxgui and the
# main of testsupport/gui: one QApplication, LC_NUMERIC "C", VxScriptedDialogs
# installed, threadsafe death tests, and a Qt warning fails the test (but for
# a short list of the offscreen platform's notices). Its cases run under
# CTest on Qt's offscreen platform; tests may declare QObject classes (moc).
# ALSO_UNDER_LOCALE adds one more CTest test that runs the whole suite under
# LC_ALL=<locale>, where Qt would otherwise read and write numbers with that
# locale's decimal comma. XVFB_SCREEN runs the whole suite instead as one
# CTest test on a real X screen of that size (Xvfb, Qt's xcb platform) that
# a window manager (openbox) manages, for tests of framed windows on a
# screen. Screenshots go to screenshots/ in the build
# tree.
function(vx_add_gui_test_suite name)
  cmake_parse_arguments(ARG "" "ALSO_UNDER_LOCALE;XVFB_SCREEN" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE vx_gui_test_support vxgui_objects ${ARG_LIBS}
                        Qt6::Test GTest::gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    VX_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/testdata")
  if(ARG_XVFB_SCREEN)
    add_test(NAME ${name}.xvfb_${ARG_XVFB_SCREEN}
      COMMAND xvfb-run -a -s "-screen 0 ${ARG_XVFB_SCREEN}x24"
              bash ${PROJECT_SOURCE_DIR}/testsupport/gui/with_window_manager.sh
              $<TARGET_FILE:${name}>
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name}.xvfb_${ARG_XVFB_SCREEN} PROPERTIES TIMEOUT 300
      RESOURCE_LOCK xvfb ENVIRONMENT QT_QPA_PLATFORM=xcb)
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES TIMEOUT 120 ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  if(ARG_ALSO_UNDER_LOCALE)
    add_test(NAME ${name}.${ARG_ALSO_UNDER_LOCALE} COMMAND ${name}
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name}.${ARG_ALSO_UNDER_LOCALE} PROPERTIES TIMEOUT 300
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=${ARG_ALSO_UNDER_LOCALE}")
  endif()
endfunction()
