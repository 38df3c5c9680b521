#!/usr/bin/env python3
"""The help pages of the distribution as a browser shows them.

    tests/release/help_pages.py STAGE SHOTS

Opens every page under STAGE/HalyardHelp in headless Chromium (driven over
the DevTools protocol on a pipe), and checks that every image loads, that
every link to a file of the distribution resolves (the file exists and so
does the anchor), that links leaving it go only to the maker's site or
mail, that each page is in its language and links to the other one, and
that every picture shipped is shown. Lays each page out as a desktop window
1100 px wide and as a phone 400 px wide: the page fills the width without
scrolling sideways, no table cell is narrower than three characters, and
short words and labels in cells stay on one line. In the Japanese page no
half-width colon follows Japanese text and no half-width katakana appears.
Writes a full-page screenshot of each page at each width into SHOTS (en.png,
en-400.png, ...). Exit status 0 when everything held.
"""
import base64
import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

PAGES = {"en.html": "en", "ja.html": "ja"}
EXTERNAL_PREFIXES = ("https://tarnwick.example/", "mailto:support@tarnwick.example")
# (file name suffix, width, mobile): a desktop window, and a phone, whose
# mobile viewport lays the page out at 400 px only if the page asks for the
# device's width.
VIEWS = (("", 1100, False), ("-400", 400, True))

# Runs in the page once it has loaded: every image with its state, every
# link resolved against the page.
PROBE = """(async () => {
  const images = [];
  for (const img of document.images) {
    if (!img.complete) await new Promise(done => { img.onload = img.onerror = done; });
    images.push({src: img.getAttribute('src'), url: img.src, ok: img.naturalWidth > 0});
  }
  const links = [...document.querySelectorAll('a[href]')].map(a =>
      ({href: a.getAttribute('href'), url: a.href}));
  return {lang: document.documentElement.lang, title: document.title, images, links,
          text: document.body.innerText};
})()"""

# Runs in the page at each width: how wide it is laid out, and the table
# cells that are hard to read. The measure is the widest ordinary character
# of the cell's language in the cell's own font: an ideograph (one em) in
# Japanese, M in Latin text. Every cell holds three of them (narrower,
# Japanese words stand one or two characters a line), and a cell holding a
# single short word, no wider than eight of them (a name, a default, a file
# name), shows it on one line: its text is less than one and a half lines
# high. So does a short label of up to 12 characters in any column but the
# last (a setting, a command, a file: "Report file", "$t / $c"): readers
# look it up by its line. Sizes are fractional; half a pixel absorbs the
# rounding of the border widths.
LAYOUT = """(() => {
  const root = document.documentElement;
  const context = document.createElement('canvas').getContext('2d');
  const narrow = [], broken = [];
  for (const cell of document.querySelectorAll('th, td')) {
    const style = getComputedStyle(cell);
    context.font = `${style.fontStyle} ${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
    const one = context.measureText(cell.closest('[lang]').lang.startsWith('ja') ? '国' : 'M').width;
    const text = cell.textContent.trim();
    const content = cell.getBoundingClientRect().width - (cell.offsetWidth - cell.clientWidth)
        - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    if (content < 3 * one - 0.5)
      narrow.push({text: text.slice(0, 24), width: content, needed: 3 * one});
    const range = document.createRange();
    range.selectNodeContents(cell);
    const lines = range.getBoundingClientRect().height / parseFloat(style.lineHeight);
    const shortWord = !/\\s/.test(text) && context.measureText(text).width <= 8 * one;
    const shortLabel = cell !== cell.parentElement.lastElementChild && [...text].length <= 12;
    if (text && (shortWord || shortLabel) && lines > 1.5)
      broken.push(text);
  }
  return {width: root.clientWidth, scrollWidth: root.scrollWidth,
          height: Math.ceil(root.scrollHeight), narrow, broken};
})()"""


class Browser:
    """Headless Chromium on --remote-debugging-pipe: NUL-separated JSON."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="halyard-chromium-")
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()

        def hand_pipes():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + self.profile, "--remote-debugging-pipe",
             "--hide-scrollbars", "--force-device-scale-factor=1", "about:blank"],
            pass_fds=(3, 4), preexec_fn=hand_pipes,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.events = []
        self.session = None
        self.view = None

    def _read_message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.from_browser, 1 << 16)
            if not chunk:
                raise RuntimeError("the browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, session=True):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            reply = self._read_message()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})
            self.events.append(reply)

    def wait_event(self, method):
        while True:
            for i, event in enumerate(self.events):
                if event.get("method") == method:
                    del self.events[i]
                    return event
            self.events.append(self._read_message())

    def open_page(self):
        target = self.call("Target.createTarget", {"url": "about:blank"}, session=False)
        attached = self.call("Target.attachToTarget",
                             {"targetId": target["targetId"], "flatten": True}, session=False)
        self.session = attached["sessionId"]
        self.call("Page.enable")

    def set_view(self, width, height, mobile):
        self.view = (width, mobile)
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile})

    def load(self, url, width, mobile):
        self.events.clear()
        self.set_view(width, 900, mobile)
        self.call("Page.navigate", {"url": url})
        self.wait_event("Page.loadEventFired")

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                                "returnByValue": True})
        if "exceptionDetails" in result:
            raise RuntimeError(f"probe failed: {result['exceptionDetails']}")
        return result["result"]["value"]

    def screenshot(self, height, path):
        width, mobile = self.view
        self.set_view(width, height, mobile)
        shot = self.call("Page.captureScreenshot", {"format": "png"})
        with open(path, "wb") as out:
            out.write(base64.b64decode(shot["data"]))

    def close(self):
        try:
            self.call("Browser.close", session=False)
            self.process.wait(timeout=30)
        except Exception:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)


class Anchors(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids = set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name in ("id", "name") and value:
                self.ids.add(value)


def anchors_of(path):
    parser = Anchors()
    with open(path, encoding="utf-8") as page:
        parser.feed(page.read())
    return parser.ids


# A character of Japanese text: kana, ideographs, and the full-width
# punctuation and forms that stand among them.
JAPANESE = "\u3000-\u30ff\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\uff01-\uff60\uffe0-\uffe6"
HALF_WIDTH_KATAKANA = re.compile("[\uff61-\uff9f]+")
COLON_AFTER_JAPANESE = re.compile(f"[{JAPANESE}]{{1,8}}:")


def check_japanese_text(text):
    """Full-width punctuation after Japanese text, and no half-width kana."""
    problems = []
    for found in COLON_AFTER_JAPANESE.finditer(text):
        problems.append(f"half-width colon after Japanese text: {found.group()!r}")
    for found in HALF_WIDTH_KATAKANA.finditer(text):
        problems.append(f"half-width katakana: {found.group()!r}")
    return problems


def check_page(browser, folder, name, lang, shots, shown):
    problems = []
    page_url = "file://" + urllib.parse.quote(os.path.join(folder, name))
    browser.load(page_url, *VIEWS[0][1:])
    found = browser.evaluate(PROBE)
    if found["lang"] != lang:
        problems.append(f"language {found['lang']!r}, expected {lang!r}")
    if lang == "ja":
        problems += check_japanese_text(found["text"])
    if not found["images"]:
        problems.append("shows no picture")
    for image in found["images"]:
        if not image["ok"]:
            problems.append(f"image does not load: {image['src']}")
        elif image["url"].startswith("file://"):
            shown.add(os.path.realpath(urllib.parse.unquote(image["url"][7:])))
    other = [page for page in PAGES if page != name]
    for link in found["links"]:
        url = link["url"]
        if url.startswith("file://"):
            target, _, fragment = urllib.parse.unquote(url[7:]).partition("#")
            if not os.path.isfile(target):
                problems.append(f"link does not resolve: {link['href']}")
            elif fragment and fragment not in anchors_of(target):
                problems.append(f"no anchor for link: {link['href']}")
            if os.path.basename(target) in other:
                other.remove(os.path.basename(target))
        elif not url.startswith(EXTERNAL_PREFIXES):
            problems.append(f"link leaves the distribution: {link['href']}")
    if other:
        problems.append(f"no link to {', '.join(other)}")
    heights = []
    for suffix, width, mobile in VIEWS:
        if (width, mobile) != browser.view:
            browser.load(page_url, width, mobile)
        layout = browser.evaluate(LAYOUT)
        if layout["width"] != width:
            problems.append(f"at {width} px: laid out {layout['width']} px wide")
        elif layout["scrollWidth"] > width:
            problems.append(f"at {width} px: scrolls sideways to {layout['scrollWidth']} px")
        for cell in layout["narrow"]:
            problems.append(f"at {width} px: cell {cell['text']!r} is {cell['width']:.1f} px "
                            f"wide, three characters need {cell['needed']:.1f} px")
        for text in layout["broken"]:
            problems.append(f"at {width} px: cell {text!r} is broken over lines")
        browser.screenshot(min(layout["height"], 16000),
                           os.path.join(shots, name[:-5] + suffix + ".png"))
        heights.append(f"{layout['height']} px at {width} px")
    print(f"{name}: {len(found['images'])} images, {len(found['links'])} links, "
          f"{', '.join(heights)}, title {found['title']!r}")
    return [f"{name}: {p}" for p in problems]


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    folder = os.path.join(os.path.abspath(sys.argv[1]), "HalyardHelp")
    shots = os.path.abspath(sys.argv[2])
    os.makedirs(shots, exist_ok=True)
    problems = []
    shown = set()
    browser = Browser()
    try:
        browser.open_page()
        for name, lang in PAGES.items():
            if not os.path.isfile(os.path.join(folder, name)):
                problems.append(f"{name}: missing from the distribution")
                continue
            problems += check_page(browser, folder, name, lang, shots, shown)
    finally:
        browser.close()
    for root, _, files in os.walk(folder):
        for file in files:
            path = os.path.realpath(os.path.join(root, file))
            if file.endswith(".png") and path not in shown:
                problems.append(f"picture shipped but shown on no page: {file}")
    for problem in problems:
        print("FAIL " + problem)
    print("help pages: " + ("failed" if problems else "passed"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
