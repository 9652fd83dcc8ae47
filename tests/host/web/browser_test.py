"""The browser console in a real browser: headless Chromium from Debian,
driven by Selenium, against `ngt-console serve` on a temporary store.

Run by CTest: browser_test.py NGT_CONSOLE. Chromium runs as root here, so it
gets --no-sandbox; the background-networking flags keep it off the closed
network of the build machine."""
import http.client
import json
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support import expected_conditions
from selenium.webdriver.support.ui import WebDriverWait

CONSOLE = None
HOSTILE = "<img src=x onerror=alert(1)>"
POLICY = "policy:Default policy"


def run(*args):
    return subprocess.run([CONSOLE, *args], check=True, capture_output=True, text=True).stdout


class BrowserConsole(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ngt-web-")
        cls.store = cls.folder + "/console.db"
        store = ["--store", cls.store]
        run("init", *store)
        run("new", "policy", "Default policy", *store)
        run("new", "host", "web01", "--policy", "Default policy", *store)
        run("new", "policy", HOSTILE, *store)
        # the policy enforces the event log's size on the computers it governs
        run("edit", POLICY, "0", "select:20038=locked", *store)
        cls.server = subprocess.Popen([CONSOLE, "serve", "--listen", "127.0.0.1:0", *store],
                                      stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        cls.link = None
        for line in cls.server.stdout:
            match = re.search(r"open (http://\S+)", line)
            if match:
                cls.link = match.group(1)
                break
        if not cls.link:
            cls.server.kill()
            raise RuntimeError("ngt-console serve printed no address")
        cls.base = cls.link.split("/?")[0]
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--window-size=1280,900", "--user-data-dir=" + tempfile.mkdtemp(dir=cls.folder)]:
            options.add_argument(flag)
        cls.browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)

    def setUp(self):
        # every test is a new administrator: a browser session of its own
        self.browser.delete_all_cookies()
        self.browser.get(self.link)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.server.terminate()
        cls.server.wait(timeout=30)
        shutil.rmtree(cls.folder, ignore_errors=True)

    # ---- helpers ---------------------------------------------------------

    def wait(self, condition, timeout=20):
        return WebDriverWait(self.browser, timeout).until(condition)

    def open_sheet(self, object_name, page_title):
        self.browser.get(self.base + "/")
        self.browser.find_element(
            By.XPATH, "//form[@action='/sheet/open'][input[@name='object'][@value=%s]]/button" % xpath_text(object_name)
        ).click()
        self.wait(expected_conditions.presence_of_element_located((By.CSS_SELECTOR, "section.page")))
        if self.browser.find_element(By.CSS_SELECTOR, ".page-title").text != page_title:
            self.redrawn(lambda: self.browser.find_element(
                By.XPATH, "//button[contains(@class,'page-link')][normalize-space()=%s]" % xpath_text(page_title)).click())
        self.assertEqual(self.browser.find_element(By.CSS_SELECTOR, ".page-title").text, page_title)

    def control(self, control_id, scope="p-"):
        """The form of a control in the window drawn with the scope (the page, or a dialog "m0-")."""
        return self.wait(lambda b: b.find_element(
            By.CSS_SELECTOR, "#%swindow form:has(> input[name=id][value='%d'])" % (scope, control_id)))

    def field(self, control_id, scope="p-"):
        """What a person uses of a control: its field, box or button."""
        return self.control(control_id, scope).find_element(
            By.CSS_SELECTOR, "input:not([type=hidden]), select, textarea, button")

    def redrawn(self, action):
        """Performs the action and waits until the console drew the page again."""
        marker = self.browser.find_element(By.TAG_NAME, "body")
        action()
        self.wait(expected_conditions.staleness_of(marker))

    def press(self, button):
        self.redrawn(lambda: self.browser.find_element(
            By.CSS_SELECTOR, "form.buttons button[value='%s']" % button).click())

    def close_sheet(self):
        if self.browser.find_elements(By.CSS_SELECTOR, "form.buttons button[value='cancel']"):
            self.press("cancel")

    def session_request(self, method, path, fields=None, cookie=True, body=None, headers=None):
        """A request as another program would send it, with or without the browser's session."""
        url = urllib.parse.urlparse(self.base)
        connection = http.client.HTTPConnection(url.hostname, url.port, timeout=30)
        sent = dict(headers or {})
        if cookie:
            sent["Cookie"] = "ngt_session=" + self.browser.get_cookie("ngt_session")["value"]
        if fields is not None:
            body = urllib.parse.urlencode(fields).encode()
        if body is not None:
            sent["Content-Type"] = "application/x-www-form-urlencoded"
        connection.request(method, path, body=body, headers=sent)
        response = connection.getresponse()
        text = response.read().decode("utf-8", "replace")
        connection.close()
        return response.status, text

    def csrf(self):
        return self.browser.find_element(By.CSS_SELECTOR, "input[name=csrf]").get_attribute("value")

    # ---- what a person does ---------------------------------------------

    def test_event_log_size_typed_and_ok_reaches_the_store(self):
        self.open_sheet(POLICY, "Settings")
        field = self.field(6009)
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys("37")
        self.redrawn(lambda: field.send_keys(Keys.TAB))
        self.assertEqual(self.field(6009).get_attribute("value"), "37")
        self.press("ok")
        self.assertIn("ZREVP_NF_PRSS_MAXIMUM_SIZE", self.browser.find_element(By.CSS_SELECTOR, ".notice").text)
        stored = json.loads(run("dump", POLICY, "86", "--format", "json", "--store", self.store))
        self.assertEqual(find_value(stored, "ZREVP_NF_PRSS_MAXIMUM_SIZE"), 37)

    def test_setting_the_policy_locks_is_disabled_on_the_computer_and_says_why(self):
        self.open_sheet("host:web01", "Settings")
        field = self.field(6009)
        self.assertFalse(field.is_enabled())
        reasons = [why.text for why in self.browser.find_elements(By.CSS_SELECTOR, "#p-window .why")]
        self.assertIn("enforced by the policy «Default policy»", reasons)
        # a setting the policy leaves open stays usable
        self.assertTrue(self.field(1087).is_enabled())
        self.close_sheet()

    def test_empty_required_field_shows_its_message_box_and_keeps_the_sheet(self):
        self.open_sheet(POLICY, "Settings")
        field = self.field(6009)
        field.send_keys(Keys.CONTROL, "a", Keys.DELETE)
        self.redrawn(lambda: field.send_keys(Keys.TAB))
        self.press("ok")
        box = self.wait(lambda b: b.find_element(By.CSS_SELECTOR, ".box"))
        self.assertIn("1 до 2000", box.find_element(By.CSS_SELECTOR, ".box-text").text)
        self.redrawn(lambda: box.find_element(By.CSS_SELECTOR, "button[value='1']").click())
        self.assertEqual(self.browser.find_elements(By.CSS_SELECTOR, ".box"), [])
        self.assertIn("Not applied", self.browser.find_element(By.CSS_SELECTOR, ".notice.error").text)
        self.assertEqual(self.browser.find_element(By.CSS_SELECTOR, ".page-title").text, "Settings")
        self.close_sheet()

    def test_hostile_policy_name_is_shown_as_text(self):
        self.browser.get(self.base + "/")
        names = [button.text for button in self.browser.find_elements(By.CSS_SELECTOR, "button.open")]
        self.assertIn(HOSTILE, names)
        self.assertEqual(self.browser.find_elements(By.CSS_SELECTOR, "main img"), [])
        self.open_sheet("policy:" + HOSTILE, "Settings")
        self.assertIn(HOSTILE, self.browser.find_element(By.CSS_SELECTOR, ".sheet-head h1").text)
        self.assertEqual(self.browser.find_elements(By.CSS_SELECTOR, "main img"), [])
        self.close_sheet()

    def test_connection_interval_dialog_adds_a_period(self):
        self.open_sheet(POLICY, "Менеджер соединений")
        self.redrawn(lambda: self.field(1121).click())
        self.redrawn(lambda: self.field(1108).click())
        dialog = self.wait(lambda b: b.find_element(By.CSS_SELECTOR, ".dialog"))
        self.assertEqual(dialog.find_element(By.CSS_SELECTOR, ".caption").text, "Период подключения")
        # saturday's check box, then the duration, then Ok
        saturday = self.browser.find_element(
            By.XPATH, "//div[@id='m0-window']//tr[.//button[normalize-space()='суббота']]//input[@type='checkbox']")
        self.redrawn(saturday.click)
        duration = self.field(1117, "m0-")
        duration.send_keys(Keys.CONTROL, "a")
        duration.send_keys("90")
        self.redrawn(lambda: duration.send_keys(Keys.TAB))
        self.redrawn(lambda: self.field(1, "m0-").click())
        self.assertEqual(self.browser.find_elements(By.CSS_SELECTOR, ".dialog"), [])
        rows = self.browser.find_elements(By.CSS_SELECTOR, "#p-window .listview tbody tr")
        self.assertEqual(len(rows), 1)
        self.close_sheet()

    def test_password_dialog_takes_a_password_that_never_comes_back(self):
        self.open_sheet(POLICY, "Settings")
        self.redrawn(lambda: self.field(1087).click())
        self.redrawn(lambda: self.field(1000).click())
        dialog = self.wait(lambda b: b.find_element(By.CSS_SELECTOR, ".dialog"))
        fields = dialog.find_elements(By.CSS_SELECTOR, "input[type=password]")
        self.assertGreaterEqual(len(fields), 1)
        secret = "Strong#Pass1"
        for field in fields:
            self.redrawn(lambda: field.send_keys(secret, Keys.TAB))
            fields = self.browser.find_elements(By.CSS_SELECTOR, ".dialog input[type=password]")
            self.assertNotIn(secret, self.browser.page_source)
            break
        for index in range(1, len(fields)):
            field = self.browser.find_elements(By.CSS_SELECTOR, ".dialog input[type=password]")[index]
            self.redrawn(lambda: field.send_keys(secret, Keys.TAB))
        self.redrawn(lambda: self.field(1, "m0-").click())
        self.assertEqual(self.browser.find_elements(By.CSS_SELECTOR, ".dialog"), [])
        self.assertNotIn(secret, self.browser.page_source)
        self.close_sheet()

    # ---- what the console refuses ---------------------------------------

    def test_requests_that_are_refused_change_nothing(self):
        self.open_sheet(POLICY, "Settings")
        csrf = self.csrf()
        act = {"csrf": csrf, "window": "page:0", "id": "6009", "verb": "type", "text": "55"}
        cases = [
            # (what, method, path, fields, cookie, raw body, expected status)
            ("no token, no session", "GET", "/", None, False, None, 403),
            ("a session cookie made up", "GET", "/sheet", None, False, None, 403),
            ("no anti-forgery token", "POST", "/sheet/act", {**act, "csrf": ""}, True, None, 403),
            ("another page's window", "POST", "/sheet/act", {**act, "window": "page:3"}, True, None, 409),
            ("a control the page does not have", "POST", "/sheet/act", {**act, "id": "10493"}, True, None, 400),
            ("an action that does not exist", "POST", "/sheet/act", {**act, "verb": "format"}, True, None, 400),
            ("an object that does not exist", "POST", "/sheet/open", {"csrf": csrf, "object": "policy:nobody"}, True,
             None, 404),
            ("text that is no UTF-8", "POST", "/sheet/act", None, True,
             b"csrf=" + csrf.encode() + b"&window=page:0&id=6009&verb=type&text=%ff%fe", 400),
            ("a body past the limit", "POST", "/sheet/act", None, True, b"csrf=" + b"x" * 200000, 413),
        ]
        for what, method, path, fields, cookie, body, status in cases:
            with self.subTest(what):
                headers = {"Cookie": "ngt_session=" + "0" * 64} if what == "a session cookie made up" else None
                got, text = self.session_request(method, path, fields, cookie, body, headers)
                self.assertEqual(got, status, text[:300])
        self.browser.refresh()
        self.assertEqual(self.field(6009).get_attribute("value"),
                         str(find_value(json.loads(run("dump", POLICY, "86", "--format", "json", "--store", self.store)),
                                        "ZREVP_NF_PRSS_MAXIMUM_SIZE") or 2))
        self.close_sheet()

    def test_pages_forbid_inline_script(self):
        status, _ = self.session_request("GET", "/")
        url = urllib.parse.urlparse(self.base)
        connection = http.client.HTTPConnection(url.hostname, url.port, timeout=30)
        connection.request("GET", "/", headers={"Cookie": "ngt_session=" + self.browser.get_cookie("ngt_session")["value"]})
        response = connection.getresponse()
        policy = response.getheader("Content-Security-Policy")
        page = response.read().decode()
        connection.close()
        self.assertEqual(status, 200)
        self.assertIn("script-src 'self'", policy)
        self.assertNotIn("unsafe-inline", policy)
        self.assertIsNone(re.search(r"<script(?![^>]*\bsrc=)", page))
        cookie = self.browser.get_cookie("ngt_session")
        self.assertTrue(cookie["httpOnly"])
        self.assertEqual(cookie["sameSite"], "Strict")


def find_value(tree, key):
    """The value of a setting anywhere in a JSON rendering of a container (a policy wraps it)."""
    if isinstance(tree, dict):
        for name, value in tree.items():
            if name == key:
                return value.get("ZRPRSS_Val", value) if isinstance(value, dict) else value
            found = find_value(value, key)
            if found is not None:
                return found
    elif isinstance(tree, list):
        for value in tree:
            found = find_value(value, key)
            if found is not None:
                return found
    return None


def xpath_text(text):
    if "'" not in text:
        return "'" + text + "'"
    return "concat('" + text.replace("'", "', \"'\", '") + "')"


if __name__ == "__main__":
    CONSOLE = sys.argv.pop(1)
    unittest.main(verbosity=2)
