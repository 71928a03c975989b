# The browsing window: filter bar, area navigator, station grid, command dock, main window.
stradex_test(test_filterbarstate LIBS stradex_data)
stradex_test(test_areatree LIBS stradex_data stradex_testsupport)
stradex_test(test_stationgridrules LIBS stradex_data)

if(STRADEX_WITH_UI)
    stradex_test(test_stationgrid UI LIBS stradex_data_widgets stradex_testsupport)
    stradex_test(test_filterbar UI LIBS stradex_data_widgets stradex_testsupport)
    stradex_test(test_commanddock UI LIBS stradex_appui)
    stradex_test(test_mainwindow UI LIBS stradex_appui stradex_dbresource stradex_testsupport SQLite::SQLite3)
endif()
