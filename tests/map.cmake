# The station map: map host page, browser bridge, station list and AADT chart, and the
# agency site stand-in.
stradex_test(test_zarnmap LIBS stradex_map)
stradex_test(test_stationlist LIBS stradex_map stradex_testsupport)
if(STRADEX_WITH_UI)
    stradex_test(test_sitemap UI LIBS stradex_site stradex_testsupport Qt6::Network)
endif()
if(STRADEX_WITH_UI)
    stradex_test(test_stationmapwidget UI LIBS stradex_map_widgets stradex_testsupport)
endif()
if(STRADEX_WITH_UI)
    stradex_test(test_mapbrowser UI LIBS stradex_map_widgets stradex_site stradex_testsupport)
    set_tests_properties(test_mapbrowser PROPERTIES TIMEOUT 180)
endif()
