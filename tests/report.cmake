# The HTML report: the writer and the asset store against golden files, and the report
# page in headless Chromium against the site stand-in.
stradex_test(test_htmlreportwriter LIBS stradex_report stradex_testsupport)
stradex_test(test_reportassets LIBS stradex_report)

if(STRADEX_WITH_UI)
    # The report page in headless Chromium: a report of the embedded ALL DATA, its scripts
    # with the site stand-in's map running and stopped, and the station location page.
    add_executable(make-test-report report/makereport.cpp)
    target_link_libraries(make-test-report PRIVATE stradex_report stradex_dbresource)
    find_program(STRADEX_NODE node REQUIRED)
    add_test(NAME test_reportpage
        COMMAND ${STRADEX_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/report/reportpage.test.mjs
                --make-report $<TARGET_FILE:make-test-report>
                --site-server $<TARGET_FILE:site-server>
                --web-modules ${PROJECT_SOURCE_DIR}/web/node_modules)
    set_tests_properties(test_reportpage PROPERTIES LABELS ui TIMEOUT 600)
endif()
