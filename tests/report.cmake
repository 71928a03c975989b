# The HTML report: the writer and the asset store against golden files, and the report
# page in headless Chromium against the site stand-in.
stradex_test(test_htmlreportwriter LIBS stradex_report stradex_testsupport)
stradex_test(test_reportassets LIBS stradex_report)
