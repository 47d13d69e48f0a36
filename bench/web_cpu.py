#!/usr/bin/env python3
"""The web page's start and CPU use in headless Chromium, served by a plain static server
(python3 -m http.server).

For each site (the web build's folder; with a second one, a baseline, the two take turns
ROUNDS times so both meet the same load on a shared machine) it prints the medians of:
the time from the start of the page's load to its first frame, on the first visit of a
browser already running, and again on a reload (the service worker then in control where the page has one); and the
CPU time of every process of the browser, as a percentage of one core, on an empty page,
on the title, and in autopilot play, with what the page costs over the empty page.
Usage: [RUN_SECONDS=20] [ROUNDS=3] [SETTLE_SECONDS=2] bench/web_cpu.py SITE [BASELINE_SITE]"""
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def serve(folder):
    """A plain static server of `folder`, with an empty page beside the site's."""
    port = free_port()
    server = subprocess.Popen([sys.executable, "-m", "http.server", str(port), "--bind", "127.0.0.1"],
                              cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=0.1).close()
            break
        except OSError:
            time.sleep(0.05)
    return server, f"http://127.0.0.1:{port}/"


def browser():
    from selenium import webdriver
    from selenium.webdriver.chrome.options import Options
    from selenium.webdriver.chrome.service import Service
    options = Options()
    for flag in ("--headless=new", "--no-sandbox", "--window-size=900,1000", "--disable-gpu",
                 "--autoplay-policy=no-user-gesture-required"):
        options.add_argument(flag)
    options.add_argument(f"--user-data-dir={tempfile.mkdtemp(prefix='glimmo-bench-')}")
    return webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)


def browser_pids(driver):
    """Every process the driver started (the browser and all its helpers)."""
    pids, todo = set(), [driver.service.process.pid]
    while todo:
        pid = todo.pop()
        for task in os.listdir(f"/proc/{pid}/task") if os.path.exists(f"/proc/{pid}/task") else []:
            try:
                children = open(f"/proc/{pid}/task/{task}/children").read().split()
            except OSError:
                continue
            for child in map(int, children):
                if child not in pids:
                    pids.add(child)
                    todo.append(child)
    return pids


def cpu_ns(pids):
    total = 0
    for pid in pids:
        try:
            for task in os.listdir(f"/proc/{pid}/task"):
                total += int(open(f"/proc/{pid}/task/{task}/schedstat").read().split()[0])
        except OSError:
            pass
    return total


def first_frame(driver, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        ms = driver.execute_script("return window.glimmoTimes && window.glimmoTimes.firstFrame")
        if ms:
            return ms
        time.sleep(0.02)
    raise AssertionError("no first frame")


def cpu_of(driver, url, seconds):
    driver.get(url)
    time.sleep(float(os.environ.get("SETTLE_SECONDS", "2")))  # the start is not part of the figure
    pids = browser_pids(driver)
    a = cpu_ns(pids)
    time.sleep(seconds)
    return (cpu_ns(pids) - a) / seconds / 1e7


def measure(site, seconds):
    """One round: {figure: value}."""
    work = tempfile.mkdtemp(prefix="glimmo-bench-site-")
    shutil.copytree(site, os.path.join(work, "game"))
    with open(os.path.join(work, "empty.html"), "w") as f:
        f.write("<!doctype html><title>empty</title>")
    server, root = serve(work)
    driver = browser()
    try:
        figures = {}
        driver.get(root + "empty.html")  # the browser started, the page never seen
        driver.get(root + "game/")
        figures["first frame, first visit (ms)"] = first_frame(driver)
        time.sleep(1.5)  # a service worker, where there is one, takes control
        driver.refresh()
        figures["first frame, reload (ms)"] = first_frame(driver)
        empty = cpu_of(driver, root + "empty.html", seconds)
        figures["empty page (% of a core)"] = empty
        figures["title (% of a core)"] = cpu_of(driver, root + "game/", seconds)
        figures["autopilot play (% of a core)"] = cpu_of(driver, root + "game/?autopilot=1", seconds)
        figures["title over the empty page"] = figures["title (% of a core)"] - empty
        figures["play over the empty page"] = figures["autopilot play (% of a core)"] - empty
        return figures
    finally:
        driver.quit()
        server.terminate()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    sites = sys.argv[1:]
    seconds = float(os.environ.get("RUN_SECONDS", "20"))
    rounds = int(os.environ.get("ROUNDS", "3" if len(sites) == 2 else "1"))
    results = {site: [] for site in sites}
    for _ in range(rounds):
        for site in sites:
            results[site].append(measure(site, seconds))
    for site in sites:
        size = os.path.getsize(os.path.join(site, "glimmo.wasm"))
        print(f"{site}: glimmo.wasm {size} bytes; medians of {rounds} round(s) of {seconds:.0f} s")
        for figure in results[site][0]:
            values = [r[figure] for r in results[site]]
            print(f"  {figure:34} {statistics.median(values):8.2f}   ({', '.join(f'{v:.2f}' for v in values)})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
