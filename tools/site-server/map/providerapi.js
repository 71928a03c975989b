// The map provider's interface as the site stand-in offers it: the map library (above),
// its style sheet and marker pictures, and the provider's settings in ZarnProvider.
(function () {
    var href = ZarnProvider.library + "leaflet.css";
    if (document.readyState === "loading") {
        document.write('<link rel="stylesheet" href="' + href + '">');
    } else {
        var link = document.createElement("link");
        link.rel = "stylesheet";
        link.href = href;
        document.getElementsByTagName("head")[0].appendChild(link);
    }
    L.Icon.Default.imagePath = ZarnProvider.library + "images/";
})();
