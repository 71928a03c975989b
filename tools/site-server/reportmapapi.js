/*
 * The map script that HTML reports and their station location page load from the map
 * host ("/maps?file=api&v=2.x&key=..."): the objects and calls of the classic map API
 * that those pages use, drawn with Leaflet (whose script the stand-in sends ahead of this
 * one in the same response).
 *
 * Offered: GBrowserIsCompatible, GUnload, GMap2 (centre and zoom, controls, overlays, the
 * one information window, map types), GLatLng, GPoint, GSize, GMarker, GControl with
 * GControlPosition and the G_ANCHOR_* corners, GLargeMapControl, GSmallMapControl,
 * GMapTypeControl, GTrafficOverlay, the map types G_NORMAL_MAP, G_SATELLITE_MAP and
 * G_HYBRID_MAP, and GEvent (addListener, addDomListener, removeListener, clearListeners,
 * trigger, bind).
 *
 * The stand-in has no map pictures or traffic data: the map types are drawn in the page
 * as plain backgrounds with a grid of degree lines, and the traffic layer is empty.
 */
(function () {
    "use strict";

    var L = window.L;
    var scriptSource = document.currentScript ? document.currentScript.src : "";
    var origin = scriptSource ? scriptSource.replace(/^(\w+:\/\/[^\/]+).*$/, "$1") : "";

    (function addStyleSheet() {
        var link = document.createElement("link");
        link.rel = "stylesheet";
        link.type = "text/css";
        link.href = origin + "/maps/leaflet.css";
        (document.head || document.getElementsByTagName("head")[0]).appendChild(link);
    })();

    // ---- events ---------------------------------------------------------------------

    function listenersOf(source, event) {
        if (!source.__gEvents)
            source.__gEvents = {};
        if (!source.__gEvents[event])
            source.__gEvents[event] = [];
        return source.__gEvents[event];
    }

    var GEvent = {
        addListener: function (source, event, handler) {
            var listener = { source: source, event: event, handler: handler, dom: null };
            listenersOf(source, event).push(listener);
            return listener;
        },
        addDomListener: function (element, event, handler) {
            var wrapped = function (e) {
                return handler.call(element, e);
            };
            element.addEventListener(event, wrapped, false);
            return { source: element, event: event, handler: handler, dom: wrapped };
        },
        removeListener: function (listener) {
            if (!listener)
                return;
            if (listener.dom) {
                listener.source.removeEventListener(listener.event, listener.dom, false);
                return;
            }
            var list = listenersOf(listener.source, listener.event);
            var i = list.indexOf(listener);
            if (i >= 0)
                list.splice(i, 1);
        },
        clearListeners: function (source, event) {
            if (source.__gEvents)
                source.__gEvents[event] = [];
        },
        clearInstanceListeners: function (source) {
            source.__gEvents = {};
        },
        trigger: function (source, event) {
            var args = Array.prototype.slice.call(arguments, 2);
            var list = listenersOf(source, event).slice(0);
            for (var i = 0; i < list.length; i++)
                list[i].handler.apply(source, args);
        },
        bind: function (source, event, object, method) {
            return GEvent.addListener(source, event, function () {
                return method.apply(object, arguments);
            });
        },
        bindDom: function (element, event, object, method) {
            return GEvent.addDomListener(element, event, function () {
                return method.apply(object, arguments);
            });
        }
    };

    // ---- values ---------------------------------------------------------------------

    function GLatLng(lat, lng) {
        this.y = Number(lat);
        this.x = Number(lng);
    }
    GLatLng.prototype.lat = function () { return this.y; };
    GLatLng.prototype.lng = function () { return this.x; };
    GLatLng.prototype.equals = function (other) {
        return !!other && other.lat() == this.y && other.lng() == this.x;
    };
    GLatLng.prototype.toUrlValue = function (precision) {
        var p = precision === undefined ? 6 : precision;
        return Number(this.y.toFixed(p)) + "," + Number(this.x.toFixed(p));
    };
    GLatLng.prototype.toString = function () {
        return "(" + this.y + ", " + this.x + ")";
    };

    function GPoint(x, y) {
        this.x = x;
        this.y = y;
    }
    function GSize(width, height) {
        this.width = width;
        this.height = height;
    }

    function toLeaflet(latlng) {
        if (!latlng || isNaN(latlng.lat()) || isNaN(latlng.lng()))
            throw new Error("Invalid map position " + latlng);
        return L.latLng(latlng.lat(), latlng.lng());
    }
    function fromLeaflet(latlng) {
        return new GLatLng(latlng.lat, latlng.lng);
    }

    // ---- map types: backgrounds drawn in the page -------------------------------------

    var niceSteps = [0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30, 45, 90];

    function degreeText(value, positive, negative) {
        return Math.abs(value).toFixed(4).replace(/\.?0+$/, "") + "\u00b0" + (value >= 0 ? positive : negative);
    }

    function hash(x, y, z) {
        var h = (x * 374761393 + y * 668265263 + z * 2147483647) | 0;
        h = (h ^ (h >>> 13)) * 1274126177 | 0;
        return ((h ^ (h >>> 16)) >>> 0) / 4294967295;
    }

    function paintTile(canvas, coords, map, type) {
        var ctx = canvas.getContext("2d");
        var size = 256;
        if (type.satellite) {
            ctx.fillStyle = "#46533a";
            ctx.fillRect(0, 0, size, size);
            // Fields and woods: fixed patches, the same for a tile wherever it is drawn.
            for (var i = 0; i < 24; i++) {
                var r = hash(coords.x * 31 + i, coords.y * 17 + i, coords.z);
                var s = hash(coords.y * 13 + i, coords.x * 7 + i, coords.z + 3);
                ctx.fillStyle = ["#55633f", "#3b4630", "#6b6a48", "#4d5a3b"][i % 4];
                ctx.fillRect(Math.floor(r * size), Math.floor(s * size), 20 + Math.floor(r * 50), 14 + Math.floor(s * 40));
            }
        } else {
            ctx.fillStyle = "#eae6d9";
            ctx.fillRect(0, 0, size, size);
        }
        if (!type.grid)
            return;

        var z = coords.z;
        var nw = map.unproject(L.point(coords.x * size, coords.y * size), z);
        var se = map.unproject(L.point((coords.x + 1) * size, (coords.y + 1) * size), z);
        var span = Math.abs(se.lng - nw.lng);
        var step = niceSteps[niceSteps.length - 1];
        for (var k = 0; k < niceSteps.length; k++) {
            if (niceSteps[k] >= span / 2) {
                step = niceSteps[k];
                break;
            }
        }
        ctx.strokeStyle = type.satellite ? "rgba(255,255,255,0.55)" : "#c9c1a8";
        ctx.fillStyle = type.satellite ? "#ffffff" : "#8a8068";
        ctx.lineWidth = 1;
        ctx.font = "10px Arial, sans-serif";
        var xs = [];
        var ys = [];
        for (var lng = Math.ceil(nw.lng / step) * step; lng <= se.lng; lng += step)
            xs.push({ value: Number(lng.toFixed(6)), at: Math.round(map.project(L.latLng(nw.lat, lng), z).x - coords.x * size) + 0.5 });
        for (var lat = Math.ceil(se.lat / step) * step; lat <= nw.lat; lat += step)
            ys.push({ value: Number(lat.toFixed(6)), at: Math.round(map.project(L.latLng(lat, nw.lng), z).y - coords.y * size) + 0.5 });
        ctx.beginPath();
        for (var i = 0; i < xs.length; i++) {
            ctx.moveTo(xs[i].at, 0);
            ctx.lineTo(xs[i].at, size);
        }
        for (var j = 0; j < ys.length; j++) {
            ctx.moveTo(0, ys[j].at);
            ctx.lineTo(size, ys[j].at);
        }
        ctx.stroke();
        // Each crossing of two lines is labelled once, in the tile that holds it.
        for (var a = 0; a < xs.length; a++) {
            for (var b = 0; b < ys.length; b++) {
                var label = degreeText(ys[b].value, "N", "S") + " " + degreeText(xs[a].value, "E", "W");
                if (xs[a].at + 3 + ctx.measureText(label).width < size && ys[b].at - 14 > 0)
                    ctx.fillText(label, xs[a].at + 3, ys[b].at - 3);
            }
        }
    }

    function GMapType(name, options) {
        this.name = name;
        this.satellite = !!options.satellite;
        this.grid = !!options.grid;
    }
    GMapType.prototype.getName = function () { return this.name; };
    GMapType.prototype.getMinimumResolution = function () { return 0; };
    GMapType.prototype.getMaximumResolution = function () { return 19; };

    var G_NORMAL_MAP = new GMapType("Map", { grid: true });
    var G_SATELLITE_MAP = new GMapType("Satellite", { satellite: true });
    var G_HYBRID_MAP = new GMapType("Hybrid", { satellite: true, grid: true });
    var G_DEFAULT_MAP_TYPES = [G_NORMAL_MAP, G_SATELLITE_MAP, G_HYBRID_MAP];

    var BackgroundLayer = L.GridLayer.extend({
        initialize: function (type) {
            this._type = type;
            L.GridLayer.prototype.initialize.call(this, { tileSize: 256 });
        },
        createTile: function (coords) {
            var canvas = L.DomUtil.create("canvas", "gmap-tile");
            canvas.width = canvas.height = 256;
            paintTile(canvas, coords, this._map, this._type);
            return canvas;
        }
    });

    // ---- controls -------------------------------------------------------------------

    var G_ANCHOR_TOP_LEFT = 0;
    var G_ANCHOR_TOP_RIGHT = 1;
    var G_ANCHOR_BOTTOM_LEFT = 2;
    var G_ANCHOR_BOTTOM_RIGHT = 3;

    function GControlPosition(anchor, offset) {
        this.anchor = anchor;
        this.offset = offset || new GSize(0, 0);
    }

    function GControl(printable, selectable) {
        this._printable = !!printable;
        this._selectable = !!selectable;
    }
    GControl.prototype.initialize = function () { return document.createElement("div"); };
    GControl.prototype.getDefaultPosition = function () {
        return new GControlPosition(G_ANCHOR_TOP_LEFT, new GSize(7, 7));
    };
    GControl.prototype.printable = function () { return this._printable; };
    GControl.prototype.selectable = function () { return this._selectable; };

    var buttonCss = "width: 17px; height: 17px; line-height: 17px; text-align: center; cursor: pointer;"
        + " background: #ffffff; border: 1px solid #8a8a8a; border-radius: 2px; font: bold 11px Arial, sans-serif;"
        + " color: #333333; position: absolute; user-select: none;";

    function controlButton(parent, label, title, left, top, action) {
        var b = document.createElement("div");
        b.style.cssText = buttonCss + " left: " + left + "px; top: " + top + "px;";
        b.appendChild(document.createTextNode(label));
        b.setAttribute("title", title);
        b.setAttribute("role", "button");
        b.setAttribute("aria-label", title);
        b.className = "gmnoprint";
        GEvent.addDomListener(b, "click", function (e) {
            e.stopPropagation();
            action();
        });
        GEvent.addDomListener(b, "dblclick", function (e) { e.stopPropagation(); });
        GEvent.addDomListener(b, "mousedown", function (e) { e.stopPropagation(); });
        parent.appendChild(b);
        return b;
    }

    function panControls(container, map) {
        controlButton(container, "\u25b2", "Pan up", 20, 0, function () { map.panDirection(0, 1); });
        controlButton(container, "\u25c0", "Pan left", 0, 20, function () { map.panDirection(1, 0); });
        controlButton(container, "\u25cf", "Return to the last result", 20, 20, function () { map.returnToSavedPosition(); });
        controlButton(container, "\u25b6", "Pan right", 40, 20, function () { map.panDirection(-1, 0); });
        controlButton(container, "\u25bc", "Pan down", 20, 40, function () { map.panDirection(0, -1); });
    }

    // Pan arrows, a zoom slider with its levels, and zoom in and out.
    function GLargeMapControl() {
        GControl.call(this, false, false);
    }
    GLargeMapControl.prototype = new GControl();
    GLargeMapControl.prototype.initialize = function (map) {
        var container = document.createElement("div");
        container.className = "gmap-largemapcontrol";
        var levels = 20;
        var top = 66;
        var trackHeight = levels * 8;
        container.style.cssText = "position: absolute; width: 60px; height: " + (top + trackHeight + 44) + "px;";
        panControls(container, map);
        controlButton(container, "+", "Zoom in", 20, top, function () { map.zoomIn(); });
        var track = document.createElement("div");
        track.style.cssText = "position: absolute; left: 25px; top: " + (top + 22) + "px; width: 8px; height: "
            + trackHeight + "px; background: #e4e4e4; border: 1px solid #8a8a8a; cursor: pointer;";
        track.setAttribute("title", "Click to set the zoom level");
        var knob = document.createElement("div");
        knob.style.cssText = "position: absolute; left: -5px; width: 16px; height: 6px; background: #ffffff;"
            + " border: 1px solid #555555; border-radius: 2px;";
        track.appendChild(knob);
        container.appendChild(track);
        controlButton(container, "\u2212", "Zoom out", 20, top + trackHeight + 26, function () { map.zoomOut(); });
        GEvent.addDomListener(track, "click", function (e) {
            var rect = track.getBoundingClientRect();
            var level = levels - 1 - Math.floor((e.clientY - rect.top) / 8);
            map.setZoom(Math.max(0, Math.min(levels - 1, level)));
        });
        function showZoom() {
            var zoom = map.getZoom() || 0;
            knob.style.top = ((levels - 1 - zoom) * 8 + 1) + "px";
        }
        GEvent.addListener(map, "zoomend", showZoom);
        GEvent.addListener(map, "load", showZoom);
        showZoom();
        map.getContainer().appendChild(container);
        return container;
    };

    // Pan arrows and zoom in and out.
    function GSmallMapControl() {
        GControl.call(this, false, false);
    }
    GSmallMapControl.prototype = new GControl();
    GSmallMapControl.prototype.initialize = function (map) {
        var container = document.createElement("div");
        container.style.cssText = "position: absolute; width: 60px; height: 110px;";
        panControls(container, map);
        controlButton(container, "+", "Zoom in", 20, 66, function () { map.zoomIn(); });
        controlButton(container, "\u2212", "Zoom out", 20, 88, function () { map.zoomOut(); });
        map.getContainer().appendChild(container);
        return container;
    };

    // One button per map type of the map.
    function GMapTypeControl() {
        GControl.call(this, false, false);
    }
    GMapTypeControl.prototype = new GControl();
    GMapTypeControl.prototype.getDefaultPosition = function () {
        return new GControlPosition(G_ANCHOR_TOP_RIGHT, new GSize(7, 7));
    };
    GMapTypeControl.prototype.initialize = function (map) {
        var container = document.createElement("div");
        container.className = "gmap-maptypecontrol";
        container.style.cssText = "position: absolute; white-space: nowrap;";
        var buttons = [];
        var types = map.getMapTypes();
        for (var i = 0; i < types.length; i++) {
            (function (type) {
                var b = document.createElement("div");
                b.appendChild(document.createTextNode(type.getName()));
                b.setAttribute("title", "Show " + type.getName().toLowerCase());
                b.setAttribute("role", "button");
                b.style.cssText = "display: inline-block; margin-left: 4px; padding: 1px 6px; cursor: pointer;"
                    + " background: #ffffff; border: 1px solid #000000; font: 12px Arial, sans-serif;";
                GEvent.addDomListener(b, "click", function (e) {
                    e.stopPropagation();
                    map.setMapType(type);
                });
                container.appendChild(b);
                buttons.push({ button: b, type: type });
            })(types[i]);
        }
        function show() {
            for (var i = 0; i < buttons.length; i++)
                buttons[i].button.style.fontWeight = buttons[i].type === map.getCurrentMapType() ? "bold" : "normal";
        }
        GEvent.addListener(map, "maptypechanged", show);
        show();
        map.getContainer().appendChild(container);
        return container;
    };

    // ---- overlays -------------------------------------------------------------------

    function GOverlay() {}
    GOverlay.prototype.initialize = function () {};
    GOverlay.prototype.remove = function () {};
    GOverlay.prototype.redraw = function () {};

    var pinSvg = '<svg xmlns="http://www.w3.org/2000/svg" width="22" height="34" viewBox="0 0 22 34">'
        + '<path d="M11 1C5.5 1 1 5.3 1 10.7 1 18 11 33 11 33S21 18 21 10.7C21 5.3 16.5 1 11 1Z"'
        + ' fill="#e8382c" stroke="#8b1a12" stroke-width="1.2"/><circle cx="11" cy="11" r="3.6" fill="#8b1a12"/></svg>';
    var pinIcon = L.icon({
        iconUrl: "data:image/svg+xml;charset=utf-8," + encodeURIComponent(pinSvg),
        iconSize: [22, 34],
        iconAnchor: [11, 34],
        popupAnchor: [0, -32]
    });

    function GMarker(latlng, options) {
        this._latlng = latlng;
        this._options = options || {};
        this._map = null;
        this._hidden = false;
        var marker = this;
        this._leaflet = L.marker(toLeaflet(latlng), {
            icon: pinIcon,
            title: this._options.title || "",
            alt: this._options.title || "Marker",
            keyboard: true
        });
        this._leaflet.on("click", function () {
            GEvent.trigger(marker, "click", marker._latlng);
            if (marker._map)
                GEvent.trigger(marker._map, "click", marker, marker._latlng);
        });
    }
    GMarker.prototype = new GOverlay();
    GMarker.prototype.initialize = function (map) {
        this._map = map;
        if (!this._hidden)
            this._leaflet.addTo(map._leaflet);
    };
    GMarker.prototype.remove = function () {
        this._leaflet.remove();
        if (this._map && this._map._infoAnchor === this)
            this._map.closeInfoWindow();
        this._map = null;
    };
    GMarker.prototype.getLatLng = function () { return this._latlng; };
    GMarker.prototype.getPoint = GMarker.prototype.getLatLng;
    GMarker.prototype.setLatLng = function (latlng) {
        this._latlng = latlng;
        this._leaflet.setLatLng(toLeaflet(latlng));
    };
    GMarker.prototype.setPoint = GMarker.prototype.setLatLng;
    GMarker.prototype.getTitle = function () { return this._options.title || ""; };
    GMarker.prototype.hide = function () {
        this._hidden = true;
        this._leaflet.remove();
    };
    GMarker.prototype.show = function () {
        this._hidden = false;
        if (this._map)
            this._leaflet.addTo(this._map._leaflet);
    };
    GMarker.prototype.isHidden = function () { return this._hidden; };
    GMarker.prototype.openInfoWindowHtml = function (html) {
        if (this._map)
            this._map._openInfoWindow(this._latlng, html, this);
    };
    GMarker.prototype.openInfoWindow = function (node) {
        this.openInfoWindowHtml(node);
    };
    GMarker.prototype.closeInfoWindow = function () {
        if (this._map && this._map._infoAnchor === this)
            this._map.closeInfoWindow();
    };
    GMarker.prototype.bindInfoWindowHtml = function (html) {
        var marker = this;
        GEvent.addListener(this, "click", function () {
            marker.openInfoWindowHtml(html);
        });
    };

    // Traffic speeds over the map; the stand-in has no traffic data, so it stays empty.
    function GTrafficOverlay(options) {
        this._options = options || {};
        this._hidden = false;
        this._layer = L.layerGroup();
    }
    GTrafficOverlay.prototype = new GOverlay();
    GTrafficOverlay.prototype.initialize = function (map) {
        this._map = map;
        if (!this._hidden)
            this._layer.addTo(map._leaflet);
    };
    GTrafficOverlay.prototype.remove = function () {
        this._layer.remove();
        this._map = null;
    };
    GTrafficOverlay.prototype.hide = function () {
        this._hidden = true;
        this._layer.remove();
    };
    GTrafficOverlay.prototype.show = function () {
        this._hidden = false;
        if (this._map)
            this._layer.addTo(this._map._leaflet);
    };
    GTrafficOverlay.prototype.isHidden = function () { return this._hidden; };

    // ---- the map --------------------------------------------------------------------

    var maps = [];

    function GMap2(container, options) {
        if (!container)
            throw new Error("GMap2 needs a container element");
        var map = this;
        this._container = container;
        this._options = options || {};
        this._mapTypes = (this._options.mapTypes || G_DEFAULT_MAP_TYPES).slice(0);
        this._mapType = this._mapTypes[0];
        this._controls = [];
        this._overlays = [];
        this._info = null;
        this._infoAnchor = null;
        this._saved = null;
        this._loaded = false;
        this._leaflet = L.map(container, {
            zoomControl: false,
            attributionControl: false,
            doubleClickZoom: true,
            scrollWheelZoom: false,
            keyboard: true,
            fadeAnimation: false,
            zoomAnimation: false,
            markerZoomAnimation: false
        });
        this._background = new BackgroundLayer(this._mapType);
        this._leaflet.on("click", function (e) {
            GEvent.trigger(map, "click", null, fromLeaflet(e.latlng));
        });
        this._leaflet.on("moveend", function () { GEvent.trigger(map, "moveend"); });
        this._leaflet.on("zoomend", function () { GEvent.trigger(map, "zoomend", map._lastZoom, map.getZoom()); map._lastZoom = map.getZoom(); });
        this._leaflet.on("popupclose", function (e) {
            if (e.popup === map._info) {
                map._info = null;
                map._infoAnchor = null;
                GEvent.trigger(map, "infowindowclose");
            }
        });
        // A map shown after it was made in a hidden part of the page takes its new size.
        if (window.ResizeObserver) {
            this._resize = new ResizeObserver(function () {
                map.checkResize();
            });
            this._resize.observe(container);
        }
        maps.push(this);
    }

    GMap2.prototype.getContainer = function () { return this._container; };
    GMap2.prototype.isLoaded = function () { return this._loaded; };

    GMap2.prototype.setCenter = function (latlng, zoom, type) {
        if (type)
            this.setMapType(type);
        var z = zoom === undefined ? (this._loaded ? this.getZoom() : 8) : zoom;
        this._leaflet.setView(toLeaflet(latlng), z, { animate: false });
        if (!this._leaflet.hasLayer(this._background))
            this._background.addTo(this._leaflet);
        this._saved = { center: latlng, zoom: z };
        this._lastZoom = z;
        if (!this._loaded) {
            this._loaded = true;
            GEvent.trigger(this, "load");
        }
    };
    GMap2.prototype.getCenter = function () { return fromLeaflet(this._leaflet.getCenter()); };
    GMap2.prototype.getZoom = function () { return this._loaded ? this._leaflet.getZoom() : undefined; };
    GMap2.prototype.setZoom = function (zoom) {
        if (this._loaded)
            this._leaflet.setZoom(zoom, { animate: false });
    };
    GMap2.prototype.zoomIn = function () { this.setZoom(this.getZoom() + 1); };
    GMap2.prototype.zoomOut = function () { this.setZoom(this.getZoom() - 1); };
    GMap2.prototype.panTo = function (latlng) {
        if (this._loaded)
            this._leaflet.panTo(toLeaflet(latlng), { animate: false });
    };
    // Pans by half the map's size: dx and dy are +1, 0 or -1 (right and up are negative).
    GMap2.prototype.panDirection = function (dx, dy) {
        if (!this._loaded)
            return;
        var size = this._leaflet.getSize();
        this._leaflet.panBy([-dx * size.x / 2, -dy * size.y / 2], { animate: false });
    };
    GMap2.prototype.savePosition = function () {
        this._saved = { center: this.getCenter(), zoom: this.getZoom() };
    };
    GMap2.prototype.returnToSavedPosition = function () {
        if (this._saved)
            this._leaflet.setView(toLeaflet(this._saved.center), this._saved.zoom, { animate: false });
    };
    GMap2.prototype.checkResize = function () {
        this._leaflet.invalidateSize({ animate: false });
    };
    GMap2.prototype.enableScrollWheelZoom = function () { this._leaflet.scrollWheelZoom.enable(); };
    GMap2.prototype.disableScrollWheelZoom = function () { this._leaflet.scrollWheelZoom.disable(); };
    GMap2.prototype.enableDragging = function () { this._leaflet.dragging.enable(); };
    GMap2.prototype.disableDragging = function () { this._leaflet.dragging.disable(); };

    GMap2.prototype.getMapTypes = function () { return this._mapTypes.slice(0); };
    GMap2.prototype.getCurrentMapType = function () { return this._mapType; };
    GMap2.prototype.setMapType = function (type) {
        if (!type || type === this._mapType)
            return;
        this._mapType = type;
        var wasShown = this._leaflet.hasLayer(this._background);
        this._background.remove();
        this._background = new BackgroundLayer(type);
        if (wasShown)
            this._background.addTo(this._leaflet);
        GEvent.trigger(this, "maptypechanged");
    };

    GMap2.prototype.addControl = function (control, position) {
        var element = control.initialize(this);
        if (!element)
            return;
        var at = position || control.getDefaultPosition();
        element.style.position = "absolute";
        element.style.zIndex = 1000;
        var offset = at.offset || new GSize(0, 0);
        var right = at.anchor == G_ANCHOR_TOP_RIGHT || at.anchor == G_ANCHOR_BOTTOM_RIGHT;
        var bottom = at.anchor == G_ANCHOR_BOTTOM_LEFT || at.anchor == G_ANCHOR_BOTTOM_RIGHT;
        element.style[right ? "right" : "left"] = offset.width + "px";
        element.style[bottom ? "bottom" : "top"] = offset.height + "px";
        if (element.parentNode !== this._container)
            this._container.appendChild(element);
        // Clicks on a control do not reach the map below it.
        L.DomEvent.disableClickPropagation(element);
        this._controls.push({ control: control, element: element });
    };
    GMap2.prototype.removeControl = function (control) {
        for (var i = 0; i < this._controls.length; i++) {
            if (this._controls[i].control === control) {
                var element = this._controls[i].element;
                if (element.parentNode)
                    element.parentNode.removeChild(element);
                this._controls.splice(i, 1);
                return;
            }
        }
    };

    GMap2.prototype.addOverlay = function (overlay) {
        this._overlays.push(overlay);
        overlay.initialize(this);
        GEvent.trigger(this, "addoverlay", overlay);
    };
    GMap2.prototype.removeOverlay = function (overlay) {
        var i = this._overlays.indexOf(overlay);
        if (i < 0)
            return;
        this._overlays.splice(i, 1);
        overlay.remove();
        GEvent.trigger(this, "removeoverlay", overlay);
    };
    GMap2.prototype.clearOverlays = function () {
        var overlays = this._overlays;
        this._overlays = [];
        for (var i = 0; i < overlays.length; i++)
            overlays[i].remove();
        this.closeInfoWindow();
        GEvent.trigger(this, "clearoverlays");
    };
    // The overlays on the map, in the order they were added.
    GMap2.prototype.getOverlays = function () { return this._overlays.slice(0); };

    GMap2.prototype._openInfoWindow = function (latlng, content, anchor) {
        this.closeInfoWindow();
        if (!this._loaded)
            return;
        var popup = L.popup({
            maxWidth: 400,
            autoPan: true,
            offset: anchor ? [0, -30] : [0, 0]
        });
        popup.setLatLng(toLeaflet(latlng));
        popup.setContent(content);
        this._info = popup;
        this._infoAnchor = anchor || null;
        popup.openOn(this._leaflet);
        GEvent.trigger(this, "infowindowopen");
    };
    GMap2.prototype.openInfoWindowHtml = function (latlng, html) {
        this._openInfoWindow(latlng, html, null);
    };
    GMap2.prototype.openInfoWindow = GMap2.prototype.openInfoWindowHtml;
    GMap2.prototype.closeInfoWindow = function () {
        if (this._info)
            this._leaflet.closePopup(this._info);
        this._info = null;
        this._infoAnchor = null;
    };
    GMap2.prototype.getInfoWindow = function () {
        var map = this;
        return {
            isHidden: function () { return !map._info; },
            getPoint: function () { return map._info ? fromLeaflet(map._info.getLatLng()) : null; }
        };
    };

    GMap2.prototype._unload = function () {
        if (this._resize)
            this._resize.disconnect();
        this._leaflet.remove();
        GEvent.clearInstanceListeners(this);
    };

    // ---- functions ------------------------------------------------------------------

    function GBrowserIsCompatible() {
        var canvas = document.createElement("canvas");
        return !!(canvas.getContext && canvas.getContext("2d")) && !!L;
    }

    function GUnload() {
        var all = maps;
        maps = [];
        for (var i = 0; i < all.length; i++)
            all[i]._unload();
    }

    var exported = {
        GBrowserIsCompatible: GBrowserIsCompatible,
        GUnload: GUnload,
        GMap2: GMap2,
        GLatLng: GLatLng,
        GPoint: GPoint,
        GSize: GSize,
        GEvent: GEvent,
        GOverlay: GOverlay,
        GMarker: GMarker,
        GTrafficOverlay: GTrafficOverlay,
        GControl: GControl,
        GControlPosition: GControlPosition,
        GLargeMapControl: GLargeMapControl,
        GSmallMapControl: GSmallMapControl,
        GMapTypeControl: GMapTypeControl,
        GMapType: GMapType,
        G_ANCHOR_TOP_LEFT: G_ANCHOR_TOP_LEFT,
        G_ANCHOR_TOP_RIGHT: G_ANCHOR_TOP_RIGHT,
        G_ANCHOR_BOTTOM_LEFT: G_ANCHOR_BOTTOM_LEFT,
        G_ANCHOR_BOTTOM_RIGHT: G_ANCHOR_BOTTOM_RIGHT,
        G_NORMAL_MAP: G_NORMAL_MAP,
        G_SATELLITE_MAP: G_SATELLITE_MAP,
        G_HYBRID_MAP: G_HYBRID_MAP,
        G_DEFAULT_MAP_TYPES: G_DEFAULT_MAP_TYPES
    };
    for (var name in exported)
        window[name] = exported[name];
})();
