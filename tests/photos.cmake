# The photo viewer: the image-name rules, the viewer's rules, its widgets against the
# site stand-in's photos.
stradex_test(test_imagenames LIBS stradex_photos)
stradex_test(test_photoviewer LIBS stradex_photos)
