# The about box, the update check and the manual.
stradex_test(test_aboutkeymatcher LIBS stradex_helplogic)
stradex_test(test_updatecontrolfile LIBS stradex_helplogic)
if(STRADEX_WITH_UI)
    stradex_test(test_aboutbox UI LIBS stradex_helpui)
    # Against the site stand-in on a free loopback port.
    stradex_test(test_webupdate LIBS stradex_helplogic stradex_site stradex_dbresource)
    stradex_test(test_manualroute LIBS stradex_site)
endif()
