/*
 * PicLensLite: the slide show of the Korva Stradex report.
 *
 *   <link rel="alternate" type="application/rss+xml" href="stations.rss">
 *   <a href="javascript:PicLensLite.start();">View the photos</a>
 *
 * start() reads the Media RSS feed that the page's link element of type
 * application/rss+xml names and shows its photos over the whole window, one after
 * another, with previous, next, pause and close buttons (and the arrow, space and
 * Escape keys). Browsers do not let a page opened from a file read another file, so a
 * report opened from disk shows the photos that the page itself links (its rel="lytebox[...]"
 * links, which hold the same photos in the table's order).
 */
var PicLensLite = (function () {

    var delay = 4000;
    var items = [];
    var index = 0;
    var playing = true;
    var timer = null;
    var ui = null;

    function element(tag, id, parent, css) {
        var e = document.createElement(tag);
        if (id)
            e.id = id;
        if (css)
            e.style.cssText = css;
        if (parent)
            parent.appendChild(e);
        return e;
    }

    function feedAddress() {
        var links = document.getElementsByTagName("link");
        for (var i = 0; i < links.length; i++) {
            if ((links[i].getAttribute("type") || "").toLowerCase() == "application/rss+xml")
                return links[i].getAttribute("href");
        }
        return null;
    }

    function childText(node, name) {
        var list = node.getElementsByTagName(name);
        return list.length ? list[0].textContent : "";
    }

    function childAttribute(node, name, attribute) {
        var list = node.getElementsByTagName(name);
        return list.length ? (list[0].getAttribute(attribute) || "") : "";
    }

    // The photos of a feed document, in feed order.
    function feedItems(xml) {
        var result = [];
        var nodes = xml.getElementsByTagName("item");
        for (var i = 0; i < nodes.length; i++) {
            var url = childAttribute(nodes[i], "media:content", "url") || childText(nodes[i], "link");
            if (!url)
                continue;
            result.push({
                title: childText(nodes[i], "title"),
                description: childText(nodes[i], "description"),
                url: url,
                thumbnail: childAttribute(nodes[i], "media:thumbnail", "url")
            });
        }
        return result;
    }

    // The photos that the page links for its picture viewer, in page order.
    function pageItems() {
        var result = [];
        var links = document.getElementsByTagName("a");
        for (var i = 0; i < links.length; i++) {
            var rel = links[i].getAttribute("rel") || "";
            if (rel.toLowerCase().indexOf("lytebox[") !== 0 || !links[i].getAttribute("href"))
                continue;
            var description = "";
            var row = links[i].parentNode;
            while (row && row.nodeName != "TR")
                row = row.parentNode;
            if (row && row.cells.length > 2)
                description = "Located at: " + row.cells[1].textContent + ", " + row.cells[2].textContent;
            result.push({
                title: links[i].getAttribute("title") || "",
                description: description,
                url: links[i].href,
                thumbnail: ""
            });
        }
        return result;
    }

    // Reads the feed; calls done with its photos, or with null when it cannot be read.
    function readFeed(address, done) {
        var request;
        try {
            request = new XMLHttpRequest();
            request.open("GET", address, true);
        } catch (e) {
            done(null);
            return;
        }
        request.onreadystatechange = function () {
            if (request.readyState != 4)
                return;
            if ((request.status == 200 || request.status == 0) && request.responseText) {
                var xml = request.responseXML;
                if (!xml || !xml.documentElement)
                    xml = new DOMParser().parseFromString(request.responseText, "application/xml");
                if (xml.getElementsByTagName("parsererror").length) {
                    done(null);
                    return;
                }
                done(feedItems(xml));
            } else {
                done(null);
            }
        };
        request.onerror = function () {
            // readyState 4 follows and reports the failure.
        };
        try {
            request.send(null);
        } catch (e) {
            done(null);
        }
    }

    function build() {
        if (ui)
            return;
        ui = {};
        var buttonCss = "display: inline-block; margin: 0 6px; padding: 5px 14px; cursor: pointer; color: #ffffff;"
            + " background: #333333; border: 1px solid #777777; border-radius: 4px; font: 13px Tahoma, Verdana, sans-serif;";
        ui.root = element("div", "pllViewer", document.body,
            "display: none; position: fixed; top: 0; left: 0; width: 100%; height: 100%; z-index: 20000;"
            + " background: #000000; color: #ffffff; font: 13px Tahoma, Verdana, sans-serif;");
        ui.root.setAttribute("role", "dialog");
        ui.root.setAttribute("aria-label", "Slide show");
        var top = element("div", "pllCaption", ui.root,
            "position: absolute; top: 0; left: 0; right: 0; padding: 10px 16px; background: rgba(0,0,0,0.6);");
        ui.title = element("div", "pllTitle", top, "font-weight: bold; font-size: 15px;");
        ui.description = element("div", "pllDescription", top, "color: #cccccc;");
        ui.image = element("img", "pllImage", ui.root,
            "position: absolute; top: 0; bottom: 0; left: 0; right: 0; margin: auto; max-width: 100%; max-height: 100%;");
        ui.message = element("div", "pllMessage", ui.root,
            "display: none; position: absolute; top: 45%; left: 0; right: 0; text-align: center; color: #cccccc;");
        var bar = element("div", "pllControls", ui.root,
            "position: absolute; bottom: 0; left: 0; right: 0; padding: 10px; text-align: center; background: rgba(0,0,0,0.6);");
        ui.previous = element("a", "pllPrevious", bar, buttonCss);
        ui.play = element("a", "pllPlay", bar, buttonCss);
        ui.counter = element("span", "pllCounter", bar, "display: inline-block; min-width: 80px; margin: 0 6px;");
        ui.next = element("a", "pllNext", bar, buttonCss);
        ui.close = element("a", "pllClose", bar, buttonCss);
        ui.previous.appendChild(document.createTextNode("Previous"));
        ui.next.appendChild(document.createTextNode("Next"));
        ui.close.appendChild(document.createTextNode("Close"));
        var buttons = [ui.previous, ui.play, ui.next, ui.close];
        for (var i = 0; i < buttons.length; i++) {
            buttons[i].setAttribute("href", "#");
            buttons[i].setAttribute("role", "button");
        }
        ui.previous.onclick = function () { show(index - 1); return false; };
        ui.next.onclick = function () { show(index + 1); return false; };
        ui.play.onclick = function () { setPlaying(!playing); return false; };
        ui.close.onclick = function () { close(); return false; };
        ui.image.onload = function () {
            ui.message.style.display = "none";
            schedule();
        };
        ui.image.onerror = function () {
            ui.message.textContent = "This photo could not be loaded.";
            ui.message.style.display = "block";
            schedule();
        };
        document.addEventListener("keydown", function (event) {
            if (!isRunning())
                return;
            if (event.key == "Escape")
                close();
            else if (event.key == "ArrowLeft")
                show(index - 1);
            else if (event.key == "ArrowRight")
                show(index + 1);
            else if (event.key == " ")
                setPlaying(!playing);
            else
                return;
            event.preventDefault();
        }, false);
    }

    function schedule() {
        if (timer)
            clearTimeout(timer);
        timer = null;
        if (playing && isRunning() && items.length > 1) {
            timer = setTimeout(function () {
                show((index + 1) % items.length);
            }, delay);
        }
    }

    function setPlaying(on) {
        playing = on;
        ui.play.textContent = on ? "Pause" : "Play";
        schedule();
    }

    function show(i) {
        if (!items.length || i < 0 || i >= items.length)
            return;
        index = i;
        var item = items[i];
        ui.title.textContent = item.title;
        ui.description.textContent = item.description;
        ui.counter.textContent = (i + 1) + " / " + items.length;
        ui.message.style.display = "none";
        ui.image.setAttribute("alt", item.title);
        ui.image.src = item.url;
        ui.previous.style.visibility = i > 0 ? "visible" : "hidden";
        ui.next.style.visibility = i < items.length - 1 ? "visible" : "hidden";
    }

    function open(list) {
        build();
        items = list;
        index = 0;
        ui.root.style.display = "block";
        setPlaying(true);
        if (!items.length) {
            ui.title.textContent = "";
            ui.description.textContent = "";
            ui.counter.textContent = "";
            ui.image.removeAttribute("src");
            ui.message.textContent = "There are no station photos in this report.";
            ui.message.style.display = "block";
            ui.previous.style.visibility = "hidden";
            ui.next.style.visibility = "hidden";
            return;
        }
        show(0);
    }

    function close() {
        if (timer)
            clearTimeout(timer);
        timer = null;
        if (ui) {
            ui.root.style.display = "none";
            ui.image.removeAttribute("src");
        }
    }

    function isRunning() {
        return !!ui && ui.root.style.display == "block";
    }

    var source = null;

    return {
        // Starts the slide show of the page's feed.
        start: function () {
            var address = feedAddress();
            var fromPage = function () {
                source = "page";
                open(pageItems());
            };
            if (!address || window.location.protocol == "file:") {
                fromPage();
                return;
            }
            readFeed(address, function (list) {
                if (list === null) {
                    fromPage();
                } else {
                    source = "feed";
                    open(list);
                }
            });
        },
        isRunning: isRunning,
        next: function () { show(index + 1); },
        previous: function () { show(index - 1); },
        close: close,
        // Where the photos of the running show came from: "feed" or "page".
        source: function () { return source; },
        items: function () { return items.slice(0); }
    };
})();
