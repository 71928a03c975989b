/*
 * LyteBox: the picture and frame viewer of the Korva Stradex report (grey theme).
 *
 *   <a href="photo.jpg" rel="lytebox[group]" title="caption">   opens the picture in an
 *       overlay over the page; the viewer steps through every link of the same group, in
 *       page order, with its previous and next buttons or the arrow keys.
 *   <a href="page.html" rel="lyteframe" title="caption" rev="width: 580px; height: 480px; scrolling: no;">
 *       opens the address in a frame of that size in the overlay.
 *
 * The close button, the Escape key or a click beside the box close the viewer. Button
 * pictures come from images/ beside the page. Links are found when they are clicked, so
 * links that the page adds or moves later work as well.
 */
(function () {

    var theme = "grey";
    var imagesFolder = "images/";

    function element(tag, id, parent) {
        var e = document.createElement(tag);
        if (id)
            e.id = id;
        if (parent)
            parent.appendChild(e);
        return e;
    }

    function LyteBox() {
        this.group = [];
        this.index = 0;
        this.isFrame = false;
        this.built = false;
        var box = this;
        document.addEventListener("click", function (event) {
            if (event.defaultPrevented || event.button !== 0 || event.ctrlKey || event.metaKey || event.shiftKey)
                return;
            var link = event.target;
            while (link && link.nodeName != "A")
                link = link.parentNode;
            if (!link)
                return;
            var rel = (link.getAttribute("rel") || "").toLowerCase();
            if (rel.indexOf("lytebox") === 0 || rel.indexOf("lyteframe") === 0) {
                event.preventDefault();
                box.start(link);
            }
        }, false);
        document.addEventListener("keydown", function (event) {
            box.onKey(event);
        }, false);
    }

    LyteBox.prototype.build = function () {
        if (this.built)
            return;
        this.built = true;
        var box = this;
        var body = document.body;

        this.overlay = element("div", "lbOverlay", body);
        this.main = element("div", "lbMain", body);
        this.outer = element("div", "lbOuterContainer", this.main);
        this.outer.className = theme;
        this.outer.setAttribute("role", "dialog");
        this.outer.setAttribute("aria-label", "Picture viewer");

        this.imageContainer = element("div", "lbImageContainer", this.outer);
        this.loading = element("div", "lbLoading", this.imageContainer);
        this.loading.appendChild(document.createTextNode("Loading..."));
        this.image = element("img", "lbImage", this.imageContainer);
        this.image.setAttribute("alt", "");
        this.failure = element("div", "lbFailure", this.imageContainer);
        this.failure.appendChild(document.createTextNode("The picture could not be loaded."));
        this.image.onload = function () {
            box.imageLoaded();
        };
        this.image.onerror = function () {
            box.loading.style.display = "none";
            box.image.style.display = "none";
            box.failure.style.display = "block";
        };

        this.frameContainer = element("div", "lbIframeContainer", this.outer);
        this.frame = element("iframe", "lbIframe", this.frameContainer);
        this.frame.setAttribute("frameBorder", "0");

        var details = element("div", "lbDetailsContainer", this.outer);
        details.className = theme;
        var data = element("div", "lbDetailsData", details);
        this.caption = element("span", "lbCaption", data);
        this.number = element("span", "lbNumberDisplay", data);

        var nav = element("div", "lbHoverNav", details);
        this.prev = element("a", "lbPrev", nav);
        this.next = element("a", "lbNext", nav);
        this.close = element("a", "lbClose", nav);
        var buttons = [[this.prev, "prev_grey.gif", "Previous"], [this.next, "next_grey.gif", "Next"],
                       [this.close, "close_grey.png", "Close"]];
        for (var i = 0; i < buttons.length; i++) {
            var a = buttons[i][0];
            a.className = theme;
            a.setAttribute("href", "#");
            a.setAttribute("title", buttons[i][2]);
            a.setAttribute("aria-label", buttons[i][2]);
            var img = element("img", null, a);
            img.setAttribute("src", imagesFolder + buttons[i][1]);
            img.setAttribute("alt", buttons[i][2]);
        }
        this.prev.onclick = function () { box.step(-1); return false; };
        this.next.onclick = function () { box.step(1); return false; };
        this.close.onclick = function () { box.end(); return false; };
        this.overlay.onclick = function () { box.end(); return false; };
        this.main.onclick = function (event) {
            if (event.target === box.main)
                box.end();
        };
    };

    // Opens the viewer on a link: the pictures of its group, or its address in a frame.
    LyteBox.prototype.start = function (link) {
        this.build();
        var rel = link.getAttribute("rel");
        this.isFrame = rel.toLowerCase().indexOf("lyteframe") === 0;
        this.group = [];
        this.index = 0;
        if (this.isFrame || rel.toLowerCase() == "lytebox") {
            this.group.push(link);
        } else {
            var links = document.getElementsByTagName("a");
            for (var i = 0; i < links.length; i++) {
                if (links[i].getAttribute("rel") == rel && links[i].getAttribute("href")) {
                    if (links[i] === link)
                        this.index = this.group.length;
                    this.group.push(links[i]);
                }
            }
            if (!this.group.length)
                this.group.push(link);
        }
        this.overlay.style.display = "block";
        this.main.style.display = "block";
        this.show();
    };

    LyteBox.prototype.show = function () {
        var link = this.group[this.index];
        var title = link.getAttribute("title") || "";
        this.caption.innerHTML = "";
        this.caption.appendChild(document.createTextNode(title));
        this.number.innerHTML = "";
        if (this.group.length > 1)
            this.number.appendChild(document.createTextNode("Image " + (this.index + 1) + " of " + this.group.length));
        this.prev.style.display = (!this.isFrame && this.index > 0) ? "" : "none";
        this.next.style.display = (!this.isFrame && this.index < this.group.length - 1) ? "" : "none";

        if (this.isFrame) {
            var size = this.frameSize(link.getAttribute("rev") || "");
            this.imageContainer.style.display = "none";
            this.frameContainer.style.display = "block";
            this.frame.style.width = size.width + "px";
            this.frame.style.height = size.height + "px";
            this.frame.setAttribute("scrolling", size.scrolling);
            this.frame.setAttribute("title", title);
            this.frame.src = link.href;
            this.outer.style.width = size.width + "px";
        } else {
            this.frameContainer.style.display = "none";
            this.imageContainer.style.display = "block";
            this.failure.style.display = "none";
            this.image.style.display = "none";
            this.loading.style.display = "block";
            this.outer.style.width = "";
            this.image.removeAttribute("width");
            this.image.removeAttribute("height");
            this.image.setAttribute("alt", title);
            this.image.src = link.href;
        }
    };

    // The size of the frame from a link's rev text: "width: 580px; height: 480px; scrolling: no;".
    LyteBox.prototype.frameSize = function (rev) {
        var size = { width: 400, height: 400, scrolling: "auto" };
        var parts = rev.split(";");
        for (var i = 0; i < parts.length; i++) {
            var pair = parts[i].split(":");
            if (pair.length != 2)
                continue;
            var key = pair[0].replace(/\s/g, "").toLowerCase();
            var value = pair[1].replace(/\s/g, "");
            if (key == "width" || key == "height")
                size[key] = parseInt(value, 10) || size[key];
            else if (key == "scrolling")
                size.scrolling = value;
        }
        return size;
    };

    // Shows a loaded picture, scaled down to fit the window.
    LyteBox.prototype.imageLoaded = function () {
        var w = this.image.naturalWidth;
        var h = this.image.naturalHeight;
        var maxW = Math.max(100, window.innerWidth - 80);
        var maxH = Math.max(100, window.innerHeight - 140);
        var scale = Math.min(1, maxW / w, maxH / h);
        w = Math.round(w * scale);
        h = Math.round(h * scale);
        this.image.setAttribute("width", w);
        this.image.setAttribute("height", h);
        this.loading.style.display = "none";
        this.image.style.display = "block";
        this.outer.style.width = w + "px";
    };

    LyteBox.prototype.step = function (delta) {
        var i = this.index + delta;
        if (this.isFrame || i < 0 || i >= this.group.length)
            return;
        this.index = i;
        this.show();
    };

    LyteBox.prototype.isOpen = function () {
        return this.built && this.main.style.display == "block";
    };

    LyteBox.prototype.end = function () {
        if (!this.built)
            return;
        this.overlay.style.display = "none";
        this.main.style.display = "none";
        this.image.removeAttribute("src");
        this.frame.src = "about:blank";
    };

    LyteBox.prototype.onKey = function (event) {
        if (!this.isOpen())
            return;
        var key = event.key;
        if (key == "Escape" || key == "x" || key == "c") {
            this.end();
        } else if (key == "ArrowLeft" || key == "p") {
            this.step(-1);
        } else if (key == "ArrowRight" || key == "n") {
            this.step(1);
        } else {
            return;
        }
        event.preventDefault();
    };

    window.LyteBox = LyteBox;
    window.myLytebox = new LyteBox();
})();
