#!/usr/bin/python3
"""The benchmark: start-up, page fill, re-registration and footprint of LumoraRepair under
wine64, each figure a ratio of two things measured side by side in one run. Run by
scripts/bench.sh after the bench64 and win32 builds; prints the table and writes it to
build/bench64/bench-results.md."""
import argparse
import datetime
import os
import pathlib
import platform
import shutil
import statistics
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]
BUILD = ROOT / "build/bench64"
PREFIX = BUILD / "wineprefix"
WINE = "/usr/lib/wine/wine64"
RESULTS = BUILD / "bench-results.md"

# The component files as the program looks for them: below Common Files, and in the
# system directory.
MDAC_FILES = ["System/ado/" + f for f in (
    "MSADO15.DLL", "MSADER15.DLL", "MSADOR15.DLL", "MSADRH15.DLL", "MSADOMD.DLL", "MSADOX.DLL", "MSJRO.DLL")] + \
    ["System/MSADC/" + f for f in (
        "MSADCE.DLL", "MSADCER.DLL", "MSADCF.DLL", "MSADCFR.DLL", "MSADCO.DLL", "MSADCOR.DLL", "MSADCS.DLL",
        "MSADDS.DLL", "MSADDSR.DLL", "MSDAPRST.DLL")] + \
    ["System/Ole DB/" + f for f in (
        "OLEDB32.DLL", "MSXACTPS.DLL", "MSDAENUM.DLL", "MSDAURL.DLL", "MSDATT.DLL", "MSDASQL.DLL", "MSDAOSP.DLL",
        "MSDAORA.DLL", "MSDAPS.DLL", "MSDADC.DLL", "MSDAER.DLL")]
JET_FILES = ["msjet40.dll", "msjtes40.dll", "msjetoledb40.dll", "mswstr10.dll", "msjint40.dll", "msjter40.dll"]
# Wine has its own msado15, oledb32, msdaps and msdasql; our files under those names must be
# the ones loaded when they register.
NATIVE = ",".join(os.path.splitext(os.path.basename(f))[0].lower() for f in MDAC_FILES) + "=n"


def env(native=False):
    e = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG="-all", LANG="en_US.UTF-8", LC_ALL="")
    e["WINEDLLOVERRIDES"] = "mscoree,mshtml=" + (";" + NATIVE if native else "")
    return e


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def resolve(base, relative):
    """base/relative, each folder found whatever its case (Wine's are "ADO" and "OLE DB")."""
    at = base
    for part in pathlib.PurePosixPath(relative).parts:
        match = next((p for p in at.iterdir() if p.name.lower() == part.lower()), None) if at.is_dir() else None
        at = match if match else at / part
    return at


class Prefix:
    """The throw-away prefix and its three states: Wine's own files, every file, none."""

    def __init__(self):
        subprocess.run(["sh", str(ROOT / "scripts/wine-prefix.sh"), str(PREFIX)], env=env(), check=True)
        drive = PREFIX / "drive_c"
        self.common = resolve(drive, "Program Files/Common Files")
        self.system32 = resolve(drive, "windows/system32")
        self.stash = BUILD / "bench-stash"
        shutil.rmtree(self.stash, ignore_errors=True)
        shutil.copytree(resolve(self.common, "System"), self.stash)
        self.component = BUILD / "testdlls/ver_2_80_1022_3.dll"

    def state(self, name):
        system = resolve(self.common, "System")
        shutil.rmtree(system, ignore_errors=True)
        for f in JET_FILES:
            resolve(self.system32, f).unlink(missing_ok=True)
        if name == "none":
            return
        shutil.copytree(self.stash, system)
        if name == "all":
            for f in MDAC_FILES:
                target = resolve(self.common, f)
                target.parent.mkdir(parents=True, exist_ok=True)
                shutil.copyfile(self.component, target)
            for f in JET_FILES:
                shutil.copyfile(self.component, resolve(self.system32, f))


def private_kb(exe_name):
    """Private memory of the one running process of that exe in the benchmark's own prefix:
    what only it maps, from Linux (Wine reports none for another process). Copies running in
    other prefixes (a test run beside the benchmark) are not ours."""
    found = []
    ours = f"WINEPREFIX={PREFIX}".encode()
    for proc in pathlib.Path("/proc").iterdir():
        try:
            program = (proc / "cmdline").read_bytes().split(b"\0")[0].decode("utf-8", "replace")
            if proc.name.isdigit() and program.lower().replace("/", "\\").endswith("\\" + exe_name.lower()) \
                    and ours in (proc / "environ").read_bytes().split(b"\0"):
                found.append(proc)
        except OSError:
            pass
    if len(found) != 1:
        sys.exit(f"expected one running {exe_name}, found {len(found)}")
    fields = dict(line.split(":", 1) for line in (found[0] / "smaps_rollup").read_text().splitlines()[1:])
    return sum(int(fields[k].split()[0]) for k in ("Private_Clean", "Private_Dirty"))


def harness(*args, native=False, names=None):
    """Runs lrbench; {what: [[value, ...] per sample]}. With names ({tag: exe name}), each
    "ready <tag>" line gets the private memory of that program, added to its next sample."""
    run = subprocess.Popen([WINE, str(BUILD / "bench/lrbench.exe"), *map(str, args)], env=env(native),
                           stdout=subprocess.PIPE, stdin=subprocess.PIPE, text=True)
    samples, memory = {}, {}
    for line in run.stdout:
        group, what, *values = line.replace("\r", "").split()
        if group == "ready":
            memory[what] = private_kb(names[what])
            run.stdin.write("\n")
            run.stdin.flush()
            continue
        samples.setdefault(what, []).append([float(v) for v in values] + ([memory.pop(what)] if what in memory else []))
    if run.wait() != 0:
        sys.exit(f"lrbench {' '.join(map(str, args))} failed ({run.returncode})")
    return samples


def times(samples, what):
    return [v[0] for v in samples[what]]


def summary(values):
    """Median and the middle half's range."""
    q = statistics.quantiles(values, n=4, method="inclusive")
    return statistics.median(values), q[0], q[2]


def row(rows, figure, ours, floor, goal, met, unit="ms"):
    """One figure: each side's median and middle half, and the ratio as the median of the
    rounds' ratios: the two samples of a round are taken one right after the other, so a
    machine that slows down for a while (other work on it) slows both."""
    m_a, lo_a, hi_a = summary(ours)
    m_b, lo_b, hi_b = summary(floor)
    ratio, r_lo, r_hi = summary([a / b for a, b in zip(ours, floor)])
    fmt = "{:.2f}" if unit == "ms" else "{:.0f}"
    side = lambda m, lo, hi: f"{fmt.format(m)} ({fmt.format(lo)}–{fmt.format(hi)})"
    verdict = "—" if met is None else "yes" if met(ratio, m_a, m_b) else "NO"
    rows.append((figure, side(m_a, lo_a, hi_a), side(m_b, lo_b, hi_b), f"{ratio:.3g} ({r_lo:.3g}–{r_hi:.3g})", goal,
                 verdict))


def machine():
    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name")),
               platform.processor())
    wine = subprocess.run([WINE, "--version"], stdout=subprocess.PIPE, text=True).stdout.strip()
    return (f"{cpu}, {os.cpu_count()} cores, {platform.system()} {platform.release()}, {wine}, "
            f"{datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--rounds", type=int, default=15, help="repetitions of each side (at least 10)")
    rounds = max(10, parser.parse_args().rounds)
    product = windows_path(BUILD / "LumoraRepair.exe")
    minimal = windows_path(BUILD / "bench/lr_minimal.exe")
    prefix = Prefix()
    rows = []
    memory = None

    for state, label in (("wine", "Wine's MDAC files"), ("all", "every MDAC and Jet file"), ("none", "no MDAC or Jet file")):
        prefix.state(state)
        s = harness("startup", rounds, product, minimal, names={"a": "LumoraRepair.exe", "b": "lr_minimal.exe"})
        row(rows, f"Start-up, {label}", times(s, "a"), times(s, "b"), "≤ 1.25",
            lambda r, a, b: r <= 1.25)
        if state == "wine":
            memory = ([v[1] for v in s["a"]], [v[1] for v in s["b"]])

    # The command line's report reads the same facts as start-up and draws nothing.
    prefix.state("all")
    s = harness("report", rounds, product, "C:\\lr-bench-report.txt", names={"start": "LumoraRepair.exe"})
    row(rows, "/report alone, against start-up (every MDAC and Jet file)", times(s, "report"), times(s, "start"),
        "≤ 1", lambda r, a, b: r <= 1)

    s = harness("pages", rounds)
    for page in ("MDAC", "JET", "Windows", "Components"):
        row(rows, f"Page fill {page} (every file present)", times(s, f"{page}.fill"), times(s, f"{page}.bare"),
            "≤ 1.5, < 16.7 ms", lambda r, a, b: r <= 1.5 and a < 16.7)
    row(rows, f"Page fill MDAC with the registration check, against without it (every file present)", times(s, "MDACcheck.fill"),
        times(s, "MDACcheck.bare"), "≤ 1.1", lambda r, a, b: r <= 1.1)
    prefix.state("wine")
    s = harness("pages", rounds)
    for page in ("MDAC", "JET", "Windows", "Components"):
        row(rows, f"Page fill {page} (Wine's files)", times(s, f"{page}.fill"), times(s, f"{page}.bare"),
            "≤ 1.5, < 16.7 ms", lambda r, a, b: r <= 1.5 and a < 16.7)
    row(rows, f"Page fill MDAC with the registration check, against without it (Wine's files)", times(s, "MDACcheck.fill"),
        times(s, "MDACcheck.bare"), "≤ 1.1", lambda r, a, b: r <= 1.1)

    prefix.state("all")
    s = harness("register", rounds, product, native=True)
    row(rows, "MDAC command, 21 files, against regsvr32 /s", times(s, "command"), times(s, "regsvr32"), "≤ 0.1 (10× faster)",
        lambda r, a, b: r <= 0.1)
    row(rows, "MDAC command, 21 files, against its floor (load/call/free, list rebuild and short paths, one process start)",
        times(s, "command"), times(s, "floor"), "≤ 1.5", lambda r, a, b: r <= 1.5)
    # Not goals: the floor's parts beside the bare loop (the list rebuilt, 28 files examined,
    # each file's short path; a process started and ended).
    row(rows, "its list rebuild and short paths alone, against load/call/free", times(s, "rules"), times(s, "bare"),
        "(part of it)", None)
    row(rows, "one process start alone, against load/call/free", times(s, "start"), times(s, "bare"), "(part of it)", None)

    size = (ROOT / "build/win32/LumoraRepair.exe").stat().st_size
    limit = 192 * 1024  # 192 KB as Windows counts them, the static check's limit
    rows.append(("Size of the win32 LumoraRepair.exe", f"{size} bytes", f"{limit} bytes (192 KB)",
                 f"{size / limit:.3g}", "≤ 1", "yes" if size <= limit else "NO"))
    ours, floor = memory
    row(rows, "Private memory after start-up (KB)", ours, floor, "≤ +1024 KB",
        lambda r, a, b: a - b <= 1024, unit="KB")
    m_a, m_b = statistics.median(ours), statistics.median(floor)
    rows[-1] = rows[-1][:3] + (f"+{m_a - m_b:.0f} KB",) + rows[-1][4:]

    head = ("figure", "ours: median (middle half)", "against: median (middle half)", "ratio: median of rounds (middle half)",
            "goal", "met")
    lines = [f"Machine: {machine()}; {rounds} rounds of each side, alternating; times in ms.", "",
             "| " + " | ".join(head) + " |", "|" + "---|" * len(head)]
    lines += ["| " + " | ".join(r) + " |" for r in rows]
    text = "\n".join(lines) + "\n"
    RESULTS.write_text(text, encoding="utf-8")
    print(text, end="")
    goals = [r[-1] for r in rows if r[-1] != "—"]
    print(f"goals met: {goals.count('yes')} of {len(goals)} (table in {RESULTS.relative_to(ROOT)})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
