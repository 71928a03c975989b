# Every address, key and text of the program is a constant, set here as a cache
# variable and compiled into stradexconfig.h. A deployment overrides them with -D.
set(STRADEX_SITE "http://127.0.0.1:8470" CACHE STRING "Base address of the agency site stand-in")
set(STRADEX_REPORT_SERVER "${STRADEX_SITE}" CACHE STRING "Report server base address (scheme and host)")
set(STRADEX_PHOTO_SERVER "${STRADEX_SITE}/transportation/refdata/roadway/traffic_counts/Stradex/images/"
    CACHE STRING "Photo server base address")
set(STRADEX_GOOGLE_MAPS_HOST "127.0.0.1:8470" CACHE STRING "Host of the Google map API")
set(STRADEX_YAHOO_MAPS_HOST "127.0.0.1:8470" CACHE STRING "Host of the Yahoo map API")
set(STRADEX_MICROSOFT_MAPS_HOST "127.0.0.1:8470" CACHE STRING "Host of the Microsoft map control")
set(STRADEX_REPORT_MAPS_HOST "127.0.0.1:8470" CACHE STRING "Host of the map API loaded by HTML reports")
set(STRADEX_MAP_SEARCH_PAGE "${STRADEX_SITE}/maps/search" CACHE STRING "Public map search page")
set(STRADEX_SLIDESHOW_PLUGIN_PAGE "${STRADEX_SITE}/piclens/" CACHE STRING "Slide-show plug-in download page")
set(STRADEX_HEADER_IMAGE_URL "${STRADEX_SITE}/transportation/images/header.gif" CACHE STRING "Header image of the gallery feed")
set(STRADEX_YAHOO_APP_ID "Kv3.Stradex.Zarn.Map.2008.demo.0123456789abcdefghijklmnopqrs"
    CACHE STRING "Yahoo map application id (60 characters)")
set(STRADEX_LOC_MAP_API_KEY "ABQIAAAAkorvaStradexZarnLocationMapKey0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKL"
    CACHE STRING "Map API key of the station location page (86 characters)")
set(STRADEX_SUPPORT_MAIL "stradex-support@korva.example" CACHE STRING "Technical-support mail address")
set(STRADEX_ABOUT_KEYS "KORVAZRN" CACHE STRING "Hidden key sequence of the about box (eight upper-case letters)")
set(STRADEX_RIGHTS_NOTICE "© 2009 Korva Traffic Monitoring" CACHE STRING "Rights notice of the about box")
set(STRADEX_REPORT_NOTICE "Station positions are approximate." CACHE STRING "Notice text of the HTML report")
set(STRADEX_REPORT_MAP_CENTER_LAT "41.65" CACHE STRING "Latitude of the HTML report map's centre")
set(STRADEX_REPORT_MAP_CENTER_LON "-76.40" CACHE STRING "Longitude of the HTML report map's centre")

if(STRADEX_WITH_VERSION)
    math(EXPR STRADEX_FILE_VERSION_MS "(${PROJECT_VERSION_MAJOR} << 16) | ${PROJECT_VERSION_MINOR}")
    math(EXPR STRADEX_FILE_VERSION_LS "(${PROJECT_VERSION_PATCH} << 16) | ${PROJECT_VERSION_TWEAK}")
    set(STRADEX_HAS_FILE_VERSION 1)
else()
    set(STRADEX_FILE_VERSION_MS 0)
    set(STRADEX_FILE_VERSION_LS 0)
    set(STRADEX_HAS_FILE_VERSION 0)
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/stradexconfig.h.in ${CMAKE_BINARY_DIR}/generated/stradexconfig.h @ONLY)
