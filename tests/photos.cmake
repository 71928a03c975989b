# The photo viewer: the image-name rules, the viewer's rules, its widgets against the
# site stand-in's photos.
stradex_test(test_imagenames LIBS stradex_photos)
stradex_test(test_photoviewer LIBS stradex_photos)
if(STRADEX_WITH_UI)
    stradex_test(test_photopanel UI LIBS stradex_photos_widgets stradex_site stradex_dbresource)
    stradex_test(test_photosite UI LIBS stradex_photos stradex_site stradex_dbresource SQLite::SQLite3 Qt6::Network)
endif()
