#!/usr/bin/env python3
"""Checks that a glimmo executable keeps its headless command-line contract: the options,
the exit codes, the state log's fields, PNG screenshots and the same output every run.
Usage: check_harness_contract.py PATH/TO/glimmo"""
import json, os, struct, subprocess, sys, tempfile

def main():
    if len(sys.argv) != 2:
        print(__doc__); return 2
    exe = os.path.abspath(sys.argv[1])
    scratch = tempfile.TemporaryDirectory(prefix="contract-")  # removed again at exit
    work = scratch.name
    problems = []
    def run(args, script=None):
        cmd = [exe, "--headless", "--config-dir", os.path.join(work, "cfg")] + args
        if script is not None:
            p = os.path.join(work, "s.txt"); open(p, "w").write(script); cmd += ["--script", p]
        return subprocess.run(cmd, capture_output=True, text=True, timeout=120, cwd=work)
    log = os.path.join(work, "log.jsonl"); png = os.path.join(work, "shot.png")
    r = run(["--start-tick", "1000000", "--until-tick", "6000", "--state-log", log, "--screenshot", f"400:{png}"],
            "500 tap RETURN\n")
    if r.returncode != 0:
        print(f"a plain headless run exits {r.returncode}: {r.stderr.strip()[:200]}"); return 1
    rows = [json.loads(l) for l in open(log) if l.strip()]
    keys = {"pass": int, "tick": int, "msg": str, "screen": str, "phase": int, "paused": int, "level": int,
            "score": int, "hiscore": int, "lives": int, "dots": int, "player": dict, "ghosts": list,
            "fright": int, "scene": int, "sound": int}
    pkeys = {"x", "y", "dir", "state", "frame"}; gkeys = {"x", "y", "mode", "dir", "tx", "ty", "house"}
    for i, row in enumerate(rows):
        for k, t in keys.items():
            if k not in row or not isinstance(row[k], t): problems.append(f"pass {i + 1}: field {k} missing or not {t.__name__}"); break
        else:
            if set(row["player"]) != pkeys: problems.append(f"pass {i + 1}: player fields {sorted(row['player'])}")
            if len(row["ghosts"]) != 4 or any(set(gh) != gkeys for gh in row["ghosts"]): problems.append(f"pass {i + 1}: ghost fields")
            if row["pass"] != i + 1: problems.append(f"pass numbering: line {i + 1} says {row['pass']}")
            if row["screen"] not in ("title", "game", "pause"): problems.append(f"pass {i + 1}: screen {row['screen']!r}")
        if len(problems) > 5: break
    if rows and rows[0]["tick"] < 1000000: problems.append("ticks do not start at --start-tick")
    if not any(r["msg"] == "WM_KEYDOWN 13" for r in rows): problems.append('no pass dispatched "WM_KEYDOWN 13" for the RETURN tap')
    if not any(r["screen"] == "game" for r in rows): problems.append("the RETURN tap did not start a game")
    try:
        head = open(png, "rb").read(24)
        if head[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack(">II", head[16:24]) != (176, 220):
            problems.append("the screenshot is not a 176 x 220 PNG")
    except OSError:
        problems.append("no screenshot written for pass 400")
    r2 = run(["--start-tick", "1000000", "--until-tick", "6000", "--state-log", log + "2"], "500 tap RETURN\n")
    if open(log).read() != open(log + "2").read(): problems.append("two identical runs give different state logs")
    for args, script, what in ((["--frames", "5"], "100 dance RETURN\n", "a malformed script line"),
                               (["--frames", "5"], "100 down NOSUCHKEY\n", "an unknown key"),
                               (["--frames", "5", "--no-such-option"], None, "an unknown option"),
                               (["--frames", "abc"], None, "a --frames that is not a number")):
        r = run(args, script)
        if r.returncode != 2 or not r.stderr.strip(): problems.append(f"{what}: exit {r.returncode}, want 2 with a message")
    r = run(["--frames", "20", "--state-log", log + "3"], "0 set Level 7\n0 set DotsEaten 5\n0 set Score 123\n0 set Lives 4\n")
    if r.returncode != 0: problems.append("the set verbs are not accepted")
    for p in problems: print(p)
    print("contract kept" if not problems else f"{len(problems)} problems")
    return 1 if problems else 0

sys.exit(main())
