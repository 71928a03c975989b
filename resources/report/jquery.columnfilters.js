/*
 * jQuery column filters for the station table of a Korva Stradex report.
 *
 * A filter row under the table's first header section gets a text box per column; typing
 * in one hides the rows whose cell in that column does not start with the typed
 * pattern. In a pattern "*" stands for any text, a leading "!" keeps the rows that do
 * NOT match, and letter case is ignored. After every run the visible rows are numbered,
 * put on the report's map as markers and drawn as bars of their AADT in the chart, and
 * the counter of the header box shows how many stations are visible.
 *
 * Uses the report page's variables map and plot and its column positions (STATION_INDEX
 * and the others). Without the map service only the map part is left out.
 *
 *   $("#details_table").columnFilters({ excludeColumns: [5, 11, 12] });
 */
(function ($) {

    var defaults = {
        wildCard: "*",
        notCharacter: "!",
        caseSensitive: false,
        minSearchCharacters: 1,
        excludeColumns: [],
        alternateRowClassNames: [],
        underline: false
    };

    // The figures of one station for the information windows; values are page text.
    function createHTML(station, aadt, sri, mp) {
        function text(value) {
            return String(value).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;");
        }
        return '<table width="250px" bgcolor="#0099FF" border="0" style="font-family: Verdana; font-size: 8pt">'
            + '<tr bgcolor="#0099FF"><td colspan="2" align="center" style="color: #ffffff"> Station ' + text(station) + '</td></tr>'
            + '<tr bgcolor="#f5f5dc" style="color: #333333"><td width="50%">AADT</td><td>' + text(aadt) + '</td></tr>'
            + '<tr bgcolor="#f5f5dc" style="color: #333333"><td width="50%">SRI</td><td>' + text(sri) + '</td></tr>'
            + '<tr bgcolor="#f5f5dc" style="color: #333333"><td width="50%">Mile Post</td><td>' + text(mp) + '</td></tr>'
            + '</table>';
    }

    // The text a filter tests: line breaks dropped, each pair of white-space characters
    // (from the left, not overlapping) folded into one blank, one leading blank dropped.
    function cellText(cell) {
        return $(cell).text().replace(/[\r\n]/g, "").replace(/\s\s/g, " ").replace(/^\s/, "");
    }

    // A filter box's text as a test of a cell text; null when the box is empty.
    function makeMatcher(text, settings) {
        if (text.length < settings.minSearchCharacters)
            return null;
        var negate = false;
        if (text.charAt(0) == settings.notCharacter && text.length > 1) {
            negate = true;
            text = text.substring(1);
        }
        var pattern = "";
        for (var i = 0; i < text.length; i++) {
            var c = text.charAt(i);
            if (c == settings.wildCard)
                pattern += ".*";
            else if ("\\^$.|?*+()[]{}/".indexOf(c) >= 0)
                pattern += "\\" + c;
            else
                pattern += c;
        }
        var regex = new RegExp("^" + pattern, settings.caseSensitive ? "" : "i");
        return function (value) {
            return regex.test(value) != negate;
        };
    }

    $.fn.columnFilters = function (options) {
        var settings = $.extend({}, defaults, options);

        return this.each(function () {
            var table = this;
            var $table = $(table);
            var body = table.tBodies[0];
            if (!body || !body.rows.length)
                return;
            var columns = body.rows[0].cells.length;
            var excluded = {};
            $.each(settings.excludeColumns, function (i, c) { excluded[c] = true; });

            // Every body cell knows its column by class.
            $(body.rows).each(function () {
                for (var c = 0; c < this.cells.length; c++)
                    $(this.cells[c]).addClass("_filterCol" + c);
            });

            // The map and chart row, then the filter row, in the first header section.
            var head = table.tHead || table.createTHead();
            var mapRow = $('<tr class="filterColumns">'
                + '<td colspan="7"><div id="map" style="width: 100%; height: 450px; border: 1px solid #0099ff"></div></td>'
                + '<td colspan="6"><div id="_acanvas" style="width: 370px; height: 438px; border: 1px solid #0099ff"></div>'
                + '<div style="width: 372px; color: #ffffff; text-align: center; background-color: #0099ff">AADT Charting Window</div></td>'
                + '</tr>');
            var filterRow = $('<tr class="filterColumns"></tr>');
            for (var c = 0; c < columns; c++) {
                var box = $('<input type="text" class="_filterText" style="width: 100%">')
                    .attr("id", "_filterText" + c)
                    .attr("aria-label", "Filter of column " + c);
                if (excluded[c])
                    box.hide();
                filterRow.append($("<td></td>").append(box));
            }
            $(head).append(mapRow).append(filterRow);

            var timer = null;
            filterRow.find("input._filterText").bind("keyup input", function () {
                if (timer)
                    clearTimeout(timer);
                timer = setTimeout(function () {
                    timer = null;
                    runFilters();
                }, body.rows.length * 2);
            });

            function runFilters() {
                if (map)
                    map.clearOverlays();

                var matchers = [];
                filterRow.find("input._filterText").each(function (c) {
                    matchers[c] = makeMatcher($(this).val(), settings);
                });

                $(body.rows).each(function () {
                    var keep = true;
                    for (var c = 0; c < matchers.length && keep; c++) {
                        if (matchers[c] && this.cells[c])
                            keep = matchers[c](cellText(this.cells[c]));
                    }
                    if (keep)
                        $(this).show();
                    else
                        $(this).hide();
                });

                showVisibleRows();
            }

            // Numbers the visible rows, puts them on the map and in the chart, and counts them.
            function showVisibleRows() {
                var points = [];
                var visible = 0;
                $(body.rows).each(function () {
                    if (this.style.display == "none")
                        return;
                    visible++;
                    var row = this;
                    var cells = row.cells;
                    var index = visible;
                    var lat = parseFloat($(cells[LATITUDE_INDEX]).text());
                    var lng = parseFloat($(cells[LONGITUDE_INDEX]).text());
                    var aadt = parseInt($(cells[AADT_INDEX]).text(), 10);
                    var station = $(cells[STATION_INDEX]).find("a:first").text();
                    var mp = $(cells[MP_INDEX]).text();
                    var sri = $(cells[SRI_INDEX]).text();
                    points.push([index, aadt]);

                    var marker = null;
                    if (map) {
                        marker = new GMarker(new GLatLng(lat, lng), { title: "station: " + station });
                        map.addOverlay(marker);
                    }

                    function highlight() {
                        if (plot) {
                            plot.unhighlight();
                            plot.highlight(0, index - 1);
                        }
                        if (marker)
                            marker.openInfoWindowHtml(createHTML(station, aadt, sri, mp));
                    }

                    $(row).unbind("click.columnFilters").bind("click.columnFilters", highlight);
                    if (marker) {
                        GEvent.addListener(marker, "click", function () {
                            highlight();
                            $(body.rows).each(function () {
                                var link = $(this.cells[0]).find("a:first");
                                this.style.backgroundColor = (link.length && link.text() == station) ? "#0099FF" : "";
                            });
                        });
                    }
                });

                try {
                    plot = $.plot($("#_acanvas"), [{ data: points, bars: { show: true } }],
                        { grid: { clickable: true, hoverable: false } });
                } catch (e) {
                    // A chart that cannot be drawn (its row hidden) leaves the filtering intact.
                }

                $("#count").html(visible + " of ");
            }
        });
    };

})(jQuery);
