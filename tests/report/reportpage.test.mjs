// The HTML report page in headless Chromium: a report of the embedded ALL DATA, written by
// make-test-report against a site stand-in, with its sorting, column filters, counter,
// chart, show/hide link, row colours, picture viewer, slide show, map and station location
// page; then the same page with the stand-in stopped, where everything but the map works.
//
//   node reportpage.test.mjs --make-report PATH --site-server PATH --web-modules DIR
//                            [--port N] [--screenshots DIR]
//
// Without --port the stand-in takes a free port. With --screenshots the pictures of the
// report (shown filtered with its map and chart) are written there.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { createServer } from 'node:http';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const options = {};
for (let i = 2; i < process.argv.length; i += 2)
    options[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
for (const name of ['make-report', 'site-server', 'web-modules'])
    assert.ok(options[name], `--${name} is required`);

const { chromium } = createRequire(path.resolve(options['web-modules'], 'x.js'))('playwright-core');

const COUNTY = 8, AADT = 4;
let port, site, browser, folder, reportPath, reportUrl, fileServer, fileServerPort;

function freePort() {
    return new Promise((resolve, reject) => {
        const server = net.createServer();
        server.listen(0, '127.0.0.1', () => {
            const { port } = server.address();
            server.close(() => resolve(port));
        });
        server.on('error', reject);
    });
}

function startSite() {
    return new Promise((resolve, reject) => {
        const child = spawn(options['site-server'], ['--port', String(port)], { stdio: ['ignore', 'pipe', 'inherit'] });
        const timer = setTimeout(() => reject(new Error('the site stand-in did not start')), 20000);
        child.stdout.on('data', (data) => {
            if (String(data).includes('serving')) {
                clearTimeout(timer);
                resolve(child);
            }
        });
        child.on('exit', (code) => reject(new Error(`the site stand-in ended with ${code}`)));
    });
}

function stopSite() {
    if (!site || site.exitCode !== null)
        return Promise.resolve();
    return new Promise((resolve) => {
        site.removeAllListeners('exit');
        site.on('exit', () => resolve());
        site.kill('SIGTERM');
    });
}

// Serves the report folder over HTTP, as a web server of the agency would.
function serveFolder(root) {
    const types = { '.html': 'text/html', '.rss': 'application/rss+xml', '.js': 'text/javascript', '.css': 'text/css',
                    '.png': 'image/png', '.gif': 'image/gif' };
    return new Promise((resolve) => {
        const server = createServer((request, response) => {
            const file = path.join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname));
            if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
                response.writeHead(404);
                response.end();
                return;
            }
            response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
            fs.createReadStream(file).pipe(response);
        });
        server.listen(0, '127.0.0.1', () => resolve(server));
    });
}

async function newPage(errors) {
    const page = await browser.newPage({ viewport: { width: 1000, height: 1000 } });
    page.on('pageerror', (e) => errors.push(e.message));
    return page;
}

// Opens the report and waits until its ready handler has run.
async function openReport(page, url = reportUrl) {
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('_filterText0') && window.jQuery
        && jQuery('.filterColumns:visible').length === 0);
}

// Every station row: its number, county, AADT and whether it shows.
function rows(page) {
    return page.evaluate(() => Array.from(document.getElementById('details_table').tBodies[0].rows, (r) => ({
        station: r.cells[0].textContent,
        county: r.cells[8].textContent,
        aadt: parseInt(r.cells[4].textContent, 10),
        lat: parseFloat(r.cells[9].textContent),
        lng: parseFloat(r.cells[10].textContent),
        visible: r.style.display !== 'none',
    })));
}

// Types a filter text and waits for the filters to have run (they set the counter).
async function filter(page, column, text) {
    await page.evaluate(() => { document.getElementById('count').textContent = 'pending'; });
    await page.fill(`#_filterText${column}`, text);
    await page.waitForFunction(() => document.getElementById('count').textContent !== 'pending', null, { timeout: 30000 });
}

// Clicks a column title and waits until the sorter has finished reordering the rows.
async function sortBy(page, header) {
    await page.evaluate(() => {
        window.__sorted = new Promise((resolve) => jQuery('#details_table').one('sortEnd', () => resolve()));
    });
    await header.click();
    await page.evaluate(() => window.__sorted);
}

function headerTotal(page) {
    return page.evaluate(() => document.getElementById('count').closest('td').textContent);
}

function chartPoints(page) {
    return page.evaluate(() => plot.getData()[0].data.map((p) => [p[0], p[1]]));
}

function markerTitles(page) {
    return page.evaluate(() => Array.from(document.querySelectorAll('#map .leaflet-marker-icon'), (m) => m.title));
}

async function screenshot(page, name, clip) {
    if (options.screenshots)
        await page.screenshot({ path: path.join(options.screenshots, name), clip });
}

before(async () => {
    port = Number(options.port) || await freePort();
    site = await startSite();
    folder = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'stradex-report-')), 'my reports');
    fs.mkdirSync(folder);
    reportPath = path.join(folder, 'stations.html');
    execFileSync(options['make-report'], [reportPath, '--site', `http://127.0.0.1:${port}`]);
    reportUrl = pathToFileURL(reportPath).href;
    fileServer = await serveFolder(folder);
    fileServerPort = fileServer.address().port;
    browser = await chromium.launch({
        executablePath: '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync'],
    });
});

after(async () => {
    if (browser)
        await browser.close();
    if (fileServer)
        fileServer.close();
    await stopSite();
    if (folder)
        fs.rmSync(path.dirname(folder), { recursive: true, force: true });
});

test('a header click sorts the stations, a second one reverses them', async () => {
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    await screenshot(page, 'report.png');
    const aadtHeader = page.locator('#details_table thead th', { hasText: /^AADT$/ });
    await sortBy(page, aadtHeader);
    let values = (await rows(page)).map((r) => r.aadt);
    assert.deepEqual(values, [...values].sort((a, b) => a - b));
    assert.match(await aadtHeader.getAttribute('class'), /headerSortUp/);
    assert.match(await aadtHeader.evaluate((th) => getComputedStyle(th).backgroundImage), /asc\.gif/);

    await sortBy(page, aadtHeader);
    values = (await rows(page)).map((r) => r.aadt);
    assert.deepEqual(values, [...values].sort((a, b) => b - a));
    assert.match(await aadtHeader.evaluate((th) => getComputedStyle(th).backgroundImage), /desc\.gif/);
    assert.deepEqual(errors, []);
    await page.close();
});

test('the County filter: "!" and a name hides that county, B*n keeps counties starting with B with an n after it', async () => {
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    await page.click('#sh');
    const all = await rows(page);
    const county = all[0].county;

    await filter(page, COUNTY, '!' + county.toLowerCase());
    let shown = (await rows(page)).filter((r) => r.visible);
    assert.ok(shown.length > 0);
    assert.equal(shown.length, all.filter((r) => r.county !== county).length);
    assert.ok(shown.every((r) => r.county !== county));
    assert.equal(await headerTotal(page), `Total stations identified: ${shown.length} of ${all.length}.`);

    await filter(page, COUNTY, 'B*n');
    shown = (await rows(page)).filter((r) => r.visible);
    const expected = all.filter((r) => /^b.*n/i.test(r.county));
    assert.ok(expected.length > 0 && expected.length < all.length);
    assert.deepEqual(shown.map((r) => r.station), expected.map((r) => r.station));
    assert.ok(all.some((r) => /^b/i.test(r.county) && !/^b.*n/i.test(r.county)), 'a county with B and no n exists');

    // A second column narrows the same rows further; clearing both shows every station.
    const aadtPrefix = String(shown[0].aadt).charAt(0);
    await filter(page, AADT, aadtPrefix + '*');
    const both = (await rows(page)).filter((r) => r.visible);
    assert.deepEqual(both.map((r) => r.station),
        expected.filter((r) => String(r.aadt).startsWith(aadtPrefix)).map((r) => r.station));
    await filter(page, AADT, '');
    await filter(page, COUNTY, '');
    assert.equal((await rows(page)).filter((r) => r.visible).length, all.length);
    assert.deepEqual(errors, []);
    await page.close();
});

test('the counter and the chart follow the visible rows; nothing matching gives 0 and an empty chart', async () => {
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    await page.click('#sh');
    assert.equal(await page.textContent('#count'), '', 'the counter is empty before the first filter run');
    assert.deepEqual(await chartPoints(page), []);

    const all = await rows(page);
    const county = all[all.length - 1].county;
    await filter(page, COUNTY, county);
    const shown = (await rows(page)).filter((r) => r.visible);
    assert.equal(await page.textContent('#count'), `${shown.length} of `);
    assert.deepEqual(await chartPoints(page), shown.map((r, i) => [i + 1, r.aadt]));
    assert.ok(await page.evaluate(() => plot.getOptions().grid.clickable && !plot.getOptions().grid.hoverable));

    await filter(page, COUNTY, 'zzz');
    assert.equal(await headerTotal(page), `Total stations identified: 0 of ${all.length}.`);
    assert.deepEqual(await chartPoints(page), []);
    assert.deepEqual(errors, []);
    await page.close();
});

test('the show/hide link shows and hides the map and filter rows', async () => {
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    const shownRows = () => page.evaluate(() => jQuery('.filterColumns:visible').length);
    assert.equal(await page.evaluate(() => jQuery('.filterColumns').length), 2);
    assert.equal(await shownRows(), 0);
    await page.click('#sh');
    assert.equal(await shownRows(), 2);
    assert.ok(await page.isVisible('#map'));
    assert.ok(await page.isVisible('#_acanvas'));
    assert.equal(await page.textContent('#_acanvas + div'), 'AADT Charting Window');
    // Excluded columns keep their cell but show no box.
    assert.deepEqual(await page.evaluate(() => [0, 5, 8, 11, 12].map((c) => jQuery('#_filterText' + c).is(':visible'))),
        [true, false, true, false, false]);
    await page.click('#sh');
    assert.equal(await shownRows(), 0);
    assert.equal(page.url(), reportUrl, 'the link does not navigate');
    assert.deepEqual(errors, []);
    await page.close();
});

test('the rows alternate their colours, and take the pointer and click colours', async () => {
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    const colour = (selector) => page.$eval(selector, (e) => getComputedStyle(e).backgroundColor);
    const first = '#details_table tbody tr:nth-child(1)';
    const second = '#details_table tbody tr:nth-child(2)';
    const third = '#details_table tbody tr:nth-child(3)';
    assert.equal(await colour('#details_table thead:nth-of-type(2) tr'), 'rgb(245, 245, 245)');
    assert.equal(await colour(first), 'rgb(255, 255, 255)');
    assert.equal(await colour(second), 'rgb(245, 245, 245)');

    await page.hover(`${second} td:nth-child(2)`);
    assert.equal(await colour(second), 'rgb(102, 204, 255)');
    await page.click(`${second} td:nth-child(2)`);
    await page.hover(`${third} td:nth-child(2)`);
    assert.equal(await colour(second), 'rgb(0, 153, 255)', 'a clicked row keeps its colour');
    await page.click(`${third} td:nth-child(2)`);
    await page.mouse.move(0, 0);
    assert.equal(await colour(second), 'rgb(245, 245, 245)');
    assert.equal(await colour(third), 'rgb(0, 153, 255)');
    await page.click(`${third} td:nth-child(2)`);
    assert.equal(await colour(third), 'rgb(102, 204, 255)', 'a second click releases the row');
    assert.deepEqual(errors, []);
    await page.close();
});

test('a photo link opens the picture viewer, which steps through the station\'s photos', async () => {
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    // The viewer's group is every photo link of the station in the page (a station counted
    // in two years has two rows).
    const group = await page.evaluate(() => {
        for (const cell of document.querySelectorAll('#details_table tbody td:last-child')) {
            const first = cell.querySelector('a[rel^="lytebox["]');
            if (first && cell.querySelectorAll('a').length >= 3) {
                const rel = first.getAttribute('rel');
                const links = Array.from(document.querySelectorAll('a')).filter((a) => a.getAttribute('rel') === rel);
                return { rel, hrefs: links.map((a) => a.href), title: first.title };
            }
        }
        return null;
    });
    assert.ok(group, 'a station with three or more photos');
    await page.click(`a[rel="${group.rel}"] img`);
    assert.ok(await page.isVisible('#lbMain'));
    assert.equal(await page.textContent('#lbCaption'), group.title);
    assert.equal(await page.textContent('#lbNumberDisplay'), `Image 1 of ${group.hrefs.length}`);
    assert.equal(await page.getAttribute('#lbImage', 'src'), group.hrefs[0]);
    await page.waitForFunction(() => document.getElementById('lbImage').naturalWidth > 0);
    await screenshot(page, 'report-photo-viewer.png');

    await page.click('#lbNext');
    assert.equal(await page.textContent('#lbNumberDisplay'), `Image 2 of ${group.hrefs.length}`);
    assert.equal(await page.getAttribute('#lbImage', 'src'), group.hrefs[1]);
    await page.keyboard.press('ArrowLeft');
    assert.equal(await page.getAttribute('#lbImage', 'src'), group.hrefs[0]);
    assert.ok(!(await page.isVisible('#lbPrev')), 'no previous button on the first photo');
    await page.click('#lbClose');
    assert.ok(!(await page.isVisible('#lbMain')));
    assert.deepEqual(errors, []);
    await page.close();
});

test('a map link opens the station location page in a 580 by 480 frame with the station', async () => {
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    const station = (await rows(page))[0].station;
    await page.click('#details_table tbody tr:nth-child(1) td:nth-child(12) a');
    const frame = page.locator('#lbIframe');
    await frame.waitFor();
    assert.deepEqual(await frame.evaluate((f) => [f.offsetWidth, f.offsetHeight, f.getAttribute('scrolling')]), [580, 480, 'no']);
    const loc = page.frameLocator('#lbIframe');
    await loc.locator('.leaflet-popup-content').waitFor();
    assert.match(await loc.locator('.leaflet-popup-content').textContent(), new RegExp(`Station ${station}`));
    assert.equal(await loc.locator('.leaflet-marker-icon').count(), 1);
    assert.match(await page.textContent('#lbCaption'), new RegExp(`Station Name:\\s*${station}\\. Location may not be exact\\.`));
    assert.deepEqual(errors, []);
    await page.close();
});

test('the report\'s map shows a marker per station, then one per visible row', async () => {
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    const all = await rows(page);
    assert.equal((await markerTitles(page)).length, all.length);
    await page.click('#sh');
    // The county nearest the map's centre, whose markers show in the map's view.
    const centre = await page.evaluate(() => [map.getCenter().lat(), map.getCenter().lng()]);
    const distance = (county) => {
        const stations = all.filter((r) => r.county === county);
        const lat = stations.reduce((sum, r) => sum + r.lat, 0) / stations.length;
        const lng = stations.reduce((sum, r) => sum + r.lng, 0) / stations.length;
        return Math.hypot(lat - centre[0], lng - centre[1]);
    };
    const county = [...new Set(all.map((r) => r.county))].sort((a, b) => distance(a) - distance(b))[0];
    await filter(page, COUNTY, county);
    const shown = (await rows(page)).filter((r) => r.visible);
    assert.deepEqual((await markerTitles(page)).sort(), shown.map((r) => `station: ${r.station}`).sort());
    await page.waitForTimeout(300);
    await screenshot(page, 'report-filtered.png');

    // A click on a chart bar marks the rows of that AADT and opens the map's window there.
    const bar = shown[0];
    const at = await page.evaluate((aadt) => {
        // Where Flot reads its clicks from: its event canvas, at the placeholder's content.
        const point = plot.pointOffset({ x: 1.5, y: aadt / 2 });
        const origin = jQuery('#_acanvas .flot-overlay').offset();
        return { x: origin.left + point.left - window.scrollX, y: origin.top + point.top - window.scrollY };
    }, bar.aadt);
    await page.mouse.click(at.x, at.y);
    assert.match(await page.textContent('#map .leaflet-popup-content'), new RegExp(`Station ${bar.station}`));
    const marked = await page.evaluate(() => Array.from(document.getElementById('details_table').tBodies[0].rows,
        (r) => [parseInt(r.cells[4].textContent, 10), r.style.backgroundColor]));
    assert.ok(marked.every(([aadt, colour]) => colour === (aadt === bar.aadt ? 'rgb(0, 153, 255)' : '')));

    // A click on a row opens its marker's window.
    await page.click(`#details_table tbody tr:not([style*="none"]) td:nth-child(3) >> nth=1`);
    assert.match(await page.textContent('#map .leaflet-popup-content'), new RegExp(`Station ${shown[1].station}`));
    assert.deepEqual(errors, []);
    await page.close();
});

test('the station location page: its parameters, a missing one as null, none at all', async () => {
    const errors = [];
    const page = await newPage(errors);
    const loc = pathToFileURL(path.join(folder, 'icons/small/loc.html')).href;
    await page.goto(`${loc}?latitude=41.5438&longitude=-74.6713&aadt=32495&mp=31.28&station=1-4-202&sri=Private%20Road`);
    await page.locator('.leaflet-popup-content').waitFor();
    const text = await page.textContent('.leaflet-popup-content');
    for (const part of ['Station 1-4-202', 'AADT32495', 'SRIPrivate Road', 'Mile Post31.28'])
        assert.ok(text.includes(part), part);
    const centre = await page.evaluate(() => [document.title, document.querySelectorAll('.leaflet-marker-icon').length]);
    assert.deepEqual(centre, ['Zarn Station Location Map', 1]);
    assert.ok(await page.isVisible('text=Traffic'), 'the map-type control with its traffic button');
    assert.ok(await page.isVisible('.extMapTypeControlKey'), 'the traffic key');
    await screenshot(page, 'report-location-page.png', { x: 0, y: 0, width: 565, height: 465 });

    await page.goto(`${loc}?longitude=-74.6713&station=<b>1-4-202</b>`);
    assert.deepEqual(await page.evaluate(() => [latitude, sri, station]), ['null', 'null', '<b>1-4-202</b>']);
    assert.match(await page.textContent('#message'), /position is not known/);
    assert.equal(await page.locator('.leaflet-marker-icon').count(), 0);

    await page.goto(loc);
    assert.deepEqual(await page.evaluate(() => [latitude, longitude, station, aadt, sri, mp]), [null, null, null, null, null, null]);
    assert.match(await page.textContent('#message'), /position is not known/);
    assert.deepEqual(errors, []);
    await page.close();
});

test('the slide-show link plays the feed, or from disk the page\'s own photos', async () => {
    const errors = [];
    const page = await newPage(errors);
    const feed = fs.readFileSync(path.join(folder, 'stations.rss'), 'utf8');
    const feedPhotos = [...feed.matchAll(/<media:content url="([^"]*)"/g)].map((m) => m[1]);
    assert.ok(feedPhotos.length > 1);

    await openReport(page, `http://127.0.0.1:${fileServerPort}/stations.html`);
    await page.click('a[href="javascript:PicLensLite.start();"]');
    await page.locator('#pllViewer').waitFor();
    await page.waitForFunction(() => PicLensLite.source() !== null);
    assert.equal(await page.evaluate(() => PicLensLite.source()), 'feed');
    assert.deepEqual(await page.evaluate(() => PicLensLite.items().map((i) => i.url)), feedPhotos);
    assert.equal(await page.textContent('#pllCounter'), `1 / ${feedPhotos.length}`);
    assert.match(await page.textContent('#pllDescription'), /^Located at: /);
    await page.waitForFunction(() => document.getElementById('pllImage').naturalWidth > 0);
    await page.click('#pllNext');
    assert.equal(await page.getAttribute('#pllImage', 'src'), feedPhotos[1]);
    await page.keyboard.press('Escape');
    assert.ok(!(await page.isVisible('#pllViewer')));

    await openReport(page);
    await page.click('a[href="javascript:PicLensLite.start();"]');
    await page.locator('#pllViewer').waitFor();
    assert.equal(await page.evaluate(() => PicLensLite.source()), 'page');
    assert.deepEqual(await page.evaluate(() => PicLensLite.items().map((i) => i.url)), feedPhotos);
    assert.deepEqual(errors, []);
    await page.close();
});

test('with the stand-in stopped the page has no map but still sorts, filters, counts and charts', async () => {
    await stopSite();
    const errors = [];
    const page = await newPage(errors);
    await openReport(page);
    assert.equal(await page.evaluate(() => [window.map, typeof GMap2]).then((v) => v.join()), ',undefined');

    await sortBy(page, page.locator('#details_table thead th', { hasText: /^AADT$/ }));
    const values = (await rows(page)).map((r) => r.aadt);
    assert.deepEqual(values, [...values].sort((a, b) => a - b));

    await page.click('#sh');
    const all = await rows(page);
    await filter(page, COUNTY, all[0].county);
    const shown = (await rows(page)).filter((r) => r.visible);
    assert.ok(shown.length > 0 && shown.length < all.length);
    assert.equal(await headerTotal(page), `Total stations identified: ${shown.length} of ${all.length}.`);
    assert.deepEqual(await chartPoints(page), shown.map((r, i) => [i + 1, r.aadt]));
    await page.click('#details_table tbody tr:not([style*="none"]) td:nth-child(3) >> nth=0');
    await page.click('#sh');
    assert.equal(await page.evaluate(() => jQuery('.filterColumns:visible').length), 0);
    assert.deepEqual(errors, []);

    const loc = pathToFileURL(path.join(folder, 'icons/small/loc.html')).href;
    await page.goto(`${loc}?latitude=41.5&longitude=-74.6&station=1-4-202`);
    assert.match(await page.textContent('#message'), /map service cannot be reached/);
    assert.deepEqual(errors, []);
    await page.close();
});
