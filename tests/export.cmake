# Exporting the selection: the XML data packet, the .xls workbook, the export routine
# and its commands.
stradex_test(test_xmlpacketwriter LIBS stradex_export stradex_testsupport)
stradex_test(test_xlswriter SOURCES support/xlsreadback.cpp support/xlsreadback.h
             LIBS stradex_export stradex_testsupport stradex_dbresource)
stradex_test(test_selectionexporter SOURCES support/xlsreadback.cpp support/xlsreadback.h
             LIBS stradex_export stradex_testsupport)
stradex_test(test_exportcommands LIBS stradex_export stradex_testsupport)
