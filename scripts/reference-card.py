#!/usr/bin/python3
"""Pictures of a Controls.html for the README: on a desktop, at night, on a
tablet, on a phone and its first page for a kneeboard, taken in headless
Chromium.

    reference-card.py CONTROLS_HTML OUTPUT_FOLDER"""

import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def main():
    page, folder = sys.argv[1:]
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                "--no-first-run", "--disable-background-networking",
                "--disable-component-update", "--disable-sync", "--hide-scrollbars"):
        options.add_argument(arg)
    options.add_argument("--user-data-dir=" + tempfile.mkdtemp(prefix="malvet-pictures-"))
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get("file://" + page)
        for name, width, height, mobile, scheme in (
                ("reference-card.png", 1400, 1250, False, "light"),
                ("reference-card-dark.png", 1400, 900, False, "dark"),
                ("reference-card-tablet.png", 768, 1024, True, "light"),
                ("reference-card-phone.png", 390, 844, True, "light"),
                ("reference-card-kneeboard.png", 768, 1024, False, "light")):
            driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                "width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile})
            driver.execute_script("document.documentElement.classList.toggle('kneeboard', %s);"
                                  % ("true" if "kneeboard" in name else "false"))
            driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
                "media": "", "features": [{"name": "prefers-color-scheme", "value": scheme}]})
            driver.save_screenshot(f"{folder}/{name}")
            print(f"{folder}/{name}")
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
