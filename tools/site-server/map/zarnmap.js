// The agency's station map: draws the map of the page's PROVIDER into the element "map"
// and puts station markers on it. The program calls initMap (from the page's onload),
// createHtmlContent, addMarker and getMapAttributes.
//
// ZARN_AREA, the box around the stations, is written above this script by the server.

var zarnMap = null;
var zarnMarkers = [];

function zarnEscape(text) {
    return String(text).replace(/[&<>"']/g, function (c) {
        return { "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "'": "&#39;" }[c];
    });
}

// The hidden field through which the page reports its map: provider, view and markers.
function zarnAttributesField() {
    var field = document.getElementById("attributesfield");
    if (!field) {
        field = document.createElement("input");
        field.type = "hidden";
        field.id = "attributesfield";
        document.body.appendChild(field);
    }
    return field;
}

function zarnProviderName() {
    return typeof PROVIDER === "string" ? PROVIDER : "";
}

// Lines of latitude and longitude, so that the map still shows where it is when the
// tiles cannot be loaded.
function zarnGraticule(map, area) {
    var step = 0.5;
    var south = Math.floor(area[0][0] - 3), north = Math.ceil(area[1][0] + 3);
    var west = Math.floor(area[0][1] - 4), east = Math.ceil(area[1][1] + 4);
    var style = { color: "#9fb3c8", weight: 1, opacity: 0.8, interactive: false };
    for (var lat = south; lat <= north; lat += step)
        L.polyline([[lat, west], [lat, east]], style).addTo(map);
    for (var lon = west; lon <= east; lon += step)
        L.polyline([[south, lon], [north, lon]], style).addTo(map);
}

function initMap(argument) {
    var element = document.getElementById("map");
    var provider = zarnProviderName();
    var providerField = document.getElementById("provider_type");
    if (providerField)
        providerField.value = provider;
    zarnAttributesField();
    zarnMarkers = [];
    if (typeof L === "undefined" || typeof ZarnProvider === "undefined") {
        element.innerHTML = '<div style="font:12px tahoma,arial,sans-serif;padding:12px;background:#fff">'
            + "The map of provider " + zarnEscape(provider) + " is not available.</div>";
        zarnMap = null;
        getMapAttributes();
        return;
    }
    var area = typeof ZARN_AREA !== "undefined" ? ZARN_AREA : [[40, -78], [43, -74.5]];
    // A plain background under the tiles: where they do not load, the markers still show.
    element.style.background = "#eef3f7";
    zarnMap = L.map(element, { zoomControl: true, attributionControl: true, worldCopyJump: false });
    zarnGraticule(zarnMap, area);
    if (ZarnProvider.tiles) {
        L.tileLayer(ZarnProvider.tiles, {
            maxZoom: 18,
            attribution: zarnEscape(ZarnProvider.label) + " | &copy; OpenStreetMap contributors"
        }).addTo(zarnMap);
    } else {
        zarnMap.attributionControl.addAttribution(zarnEscape(ZarnProvider.label));
    }
    zarnMap.fitBounds(area);
    zarnMap.on("moveend", getMapAttributes);
    if (argument)
        zarnMap.getContainer().setAttribute("data-init", String(argument));
    var wait = document.getElementById("wait");
    if (wait)
        wait.style.display = "none";
    getMapAttributes();
}

function createHtmlContent(stationNumber, sri, milePost, municipality, streetName, aadt, imageNames) {
    var photos = String(imageNames).split(",").filter(function (name) { return name.trim() !== ""; });
    var rows = [
        ["SRI", zarnEscape(sri)],
        ["Mile post", zarnEscape(milePost)],
        ["Municipality", zarnEscape(municipality)],
        ["Street", zarnEscape(streetName)],
        ["AADT", zarnEscape(aadt)],
        ["Photos", photos.length ? photos.map(function (name) {
            return '<span style="white-space:nowrap">' + zarnEscape(name) + "</span>";
        }).join(", ") : "none"]
    ];
    // The page has no doctype, so tables do not inherit the font unless told to.
    var html = '<div class="zarn-station" data-station="' + zarnEscape(stationNumber) + '"'
        + ' style="font:12px tahoma,arial,sans-serif">'
        + '<div style="font-weight:bold;color:#003366;margin-bottom:4px">Station ' + zarnEscape(stationNumber) + "</div>"
        + '<table style="border-collapse:collapse;font:inherit">';
    for (var i = 0; i < rows.length; ++i)
        html += '<tr><td style="color:#555;padding:1px 10px 1px 0;white-space:nowrap;vertical-align:top">'
            + rows[i][0] + '</td><td style="padding:1px 0">' + rows[i][1] + "</td></tr>";
    return html + "</table></div>";
}

function addMarker(latitude, longitude, content) {
    if (!zarnMap)
        throw new Error("The map of provider " + zarnProviderName() + " is not available");
    if (typeof latitude !== "number" || typeof longitude !== "number" || !isFinite(latitude) || !isFinite(longitude))
        throw new Error("The station has no valid position");
    var holder = document.createElement("div");
    holder.innerHTML = content;
    var first = holder.firstElementChild;
    var station = first && first.getAttribute("data-station") || "";
    var marker = L.marker([latitude, longitude], { title: station ? "Station " + station : "" })
        .addTo(zarnMap)
        .bindPopup(content, { minWidth: 200, maxWidth: 300 });
    zarnMarkers.push({ station: station, latitude: latitude, longitude: longitude });
    zarnMap.setView([latitude, longitude], Math.max(zarnMap.getZoom(), 10));
    marker.openPopup();
    getMapAttributes();
    return zarnMarkers.length;
}

// Writes the map's state into the hidden field "attributesfield":
// provider=...;zoom=...;center=lat,lon;markers=station@lat,lon|...
function getMapAttributes() {
    var parts = ["provider=" + zarnProviderName()];
    if (zarnMap) {
        var center = zarnMap.getCenter();
        parts.push("zoom=" + zarnMap.getZoom());
        parts.push("center=" + center.lat.toFixed(5) + "," + center.lng.toFixed(5));
    }
    parts.push("markers=" + zarnMarkers.map(function (m) {
        return m.station + "@" + m.latitude + "," + m.longitude;
    }).join("|"));
    var value = parts.join(";");
    var field = zarnAttributesField();
    field.value = value;
    field.setAttribute("value", value);
    return value;
}
