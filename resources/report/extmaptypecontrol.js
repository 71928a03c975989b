/*
 * The map-type control of the station location page: one button per map type of the
 * map, a Traffic button that shows or hides the traffic layer, and the key of the
 * traffic colours.
 *
 *   map.addControl(new ExtMapTypeControl({ showTraffic: true, showTrafficKey: true, showIncidents: true }));
 *
 * Options: showTraffic (the layer is shown at first), showTrafficKey (the key is shown
 * below the buttons), showIncidents (the layer also marks incidents).
 */

function ExtMapTypeControl(options) {
    this.options = options || {};
}

// Defined only when the map service has loaded; without it the page shows no map.
if (typeof GControl == "function") {

    ExtMapTypeControl.prototype = new GControl();

    ExtMapTypeControl.prototype.initialize = function (map) {
        var control = this;
        var options = this.options;
        var container = document.createElement("div");
        container.className = "extMapTypeControl";
        container.style.cssText = "font: 12px Arial, sans-serif; text-align: right;";

        var row = document.createElement("div");
        container.appendChild(row);

        function button(label, title) {
            var b = document.createElement("div");
            b.appendChild(document.createTextNode(label));
            b.setAttribute("title", title);
            b.setAttribute("role", "button");
            b.style.cssText = "display: inline-block; margin-left: 4px; padding: 1px 6px; cursor: pointer;"
                + " background: #ffffff; border: 1px solid #000000; color: #000000;";
            row.appendChild(b);
            return b;
        }

        function select(b, on) {
            b.style.fontWeight = on ? "bold" : "normal";
            b.style.borderColor = on ? "#345684" : "#000000";
        }

        var typeButtons = [];
        var types = map.getMapTypes();
        for (var i = 0; i < types.length; i++) {
            (function (type) {
                var b = button(type.getName(), "Show " + type.getName().toLowerCase());
                typeButtons.push({ button: b, type: type });
                GEvent.addDomListener(b, "click", function () {
                    map.setMapType(type);
                });
            })(types[i]);
        }

        function showType() {
            var current = map.getCurrentMapType();
            for (var i = 0; i < typeButtons.length; i++)
                select(typeButtons[i].button, typeButtons[i].type === current);
        }
        GEvent.addListener(map, "maptypechanged", showType);
        showType();

        var traffic = new GTrafficOverlay({ incidents: !!options.showIncidents });
        var trafficShown = false;
        var trafficButton = button("Traffic", "Show traffic");
        var key = document.createElement("div");
        key.className = "extMapTypeControlKey";
        key.style.cssText = "margin-top: 3px; padding: 3px 5px; background: #ffffff; border: 1px solid #000000;"
            + " font-size: 11px; text-align: left; display: none;";
        var colours = [["#30ac3e", "> 50 MPH"], ["#ffcf00", "25 - 50 MPH"], ["#ff0000", "< 25 MPH"], ["#c0c0c0", "No data"]];
        for (var k = 0; k < colours.length; k++) {
            var entry = document.createElement("div");
            var swatch = document.createElement("span");
            swatch.style.cssText = "display: inline-block; width: 14px; height: 4px; margin-right: 4px;"
                + " vertical-align: middle; background: " + colours[k][0] + ";";
            entry.appendChild(swatch);
            entry.appendChild(document.createTextNode(colours[k][1]));
            key.appendChild(entry);
        }
        container.appendChild(key);

        function setTraffic(on) {
            trafficShown = on;
            if (on)
                map.addOverlay(traffic);
            else
                map.removeOverlay(traffic);
            select(trafficButton, on);
            key.style.display = (on && options.showTrafficKey) ? "block" : "none";
        }
        GEvent.addDomListener(trafficButton, "click", function () {
            setTraffic(!trafficShown);
        });
        setTraffic(!!options.showTraffic);

        control.container = container;
        map.getContainer().appendChild(container);
        return container;
    };

    ExtMapTypeControl.prototype.getDefaultPosition = function () {
        return new GControlPosition(G_ANCHOR_TOP_RIGHT, new GSize(7, 7));
    };
}
