#!/usr/bin/env python3
"""Kills in-place rewrites of a large dictionary at random moments and checks what is left.

A folder that takes no new files makes every save of a file in it a rewrite in place. This
script kills such rewrites with SIGKILL: streamed imports (`vkd import --force -` fed from a
pipe) and saves of the real window (vokari under Xvfb, driven with xdotool). After each kill it
opens the file with `vkd check`, which rolls a rewrite cut short back, and compares the file
with the content before and after the save: exactly one of the two, or damaged.

Half of the kills fall anywhere in the run, half within the rewrite itself (once its record is
in the backups folder, or, for a build without one, once the file has changed).

  scripts/kill-rewrites.py BUILD_DIR [--imports N] [--saves N] [--work DIR] [--seed S]
"""
import argparse
import os
import random
import shutil
import signal
import stat
import subprocess
import sys
import threading
import time

ENTRIES = 1024
MEANING = 40 * 1024


def make_tsv(path, seed):
    rng = random.Random(seed)
    letters = "abcdefghijklmnopqrstuvwxyz"
    with open(path, "w") as f:
        for i in range(ENTRIES):
            chunk = "".join(rng.choice(letters) for _ in range(64))
            f.write(f"w{seed}-{i}\t{(chunk * (MEANING // 64))}\n")


def put_in_place(path, data):
    with open(path, "r+b") as f:
        f.write(data)
        f.truncate()
        f.flush()
        os.fsync(f.fileno())
    return os.stat(path).st_mtime_ns


def record_of(data_home):
    root = os.path.join(data_home, "vokari", "backups")
    if not os.path.isdir(root):
        return None
    for folder in os.listdir(root):
        if folder.startswith("book.vkd-"):
            return os.path.join(root, folder, "rewriting")
    return None


class Series:
    def __init__(self, args):
        self.build = os.path.abspath(args.build)
        self.vkd = os.path.join(self.build, "bin", "vkd")
        self.vokari = os.path.join(self.build, "app", "vokari")
        self.work = os.path.abspath(args.work)
        self.rng = random.Random(args.seed)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.home = os.path.join(self.work, "home")
        self.data_home = os.path.join(self.home, "data")
        os.makedirs(self.data_home)
        self.env = dict(os.environ, HOME=self.home, XDG_DATA_HOME=self.data_home, LANG="C.UTF-8")
        self.locked = os.path.join(self.work, "locked")
        os.makedirs(self.locked)
        self.target = os.path.join(self.locked, "book.vkd")

    def vkd_run(self, *args, stdin=None):
        return subprocess.run([self.vkd, *args], env=self.env, stdin=stdin,
                              capture_output=True, text=True)

    def imported(self, tsv, out):
        r = self.vkd_run("import", tsv, "-o", out, "--name", "book", "--force")
        if r.returncode != 0:
            sys.exit(f"import of {tsv} failed: {r.stderr}")
        with open(out, "rb") as f:
            return f.read()

    def lock_folder(self, locked):
        os.chmod(self.locked, 0o555 if locked else 0o755)

    # Opens the file as every later command would, and judges what is there.
    def verdict(self, old, new, counts):
        r = self.vkd_run("check", self.target)
        if "cut short" in r.stderr:
            counts["rolled back"] += 1
        with open(self.target, "rb") as f:
            now = f.read()
        rec = record_of(self.data_home)
        if rec and os.path.exists(rec):
            counts["record left"] += 1
        strays = sorted(set(os.listdir(self.locked)) - {"book.vkd"})
        if strays:
            counts["strays"] += 1
        key = "old" if now == old else "new" if now == new else "damaged"
        counts[key] += 1
        return key

    def kill_at(self, proc, span, rewrite_span, in_rewrite):
        if in_rewrite:
            deadline = time.monotonic() + 120
            while proc.poll() is None and time.monotonic() < deadline and not self.rewriting():
                time.sleep(0.0005)
            time.sleep(self.rng.uniform(0, rewrite_span))
        else:
            time.sleep(self.rng.uniform(0, span))
        finished = proc.poll() is not None
        if not finished:
            proc.send_signal(signal.SIGKILL)
        proc.wait()
        return not finished

    # The rewrite has begun: its record is there, or (without one) the file has changed.
    def rewriting(self):
        rec = record_of(self.data_home)
        return bool(rec and os.path.exists(rec)) or os.stat(self.target).st_mtime_ns != self.mtime

    # --- streamed imports -------------------------------------------------------------

    def start_import(self, tsv):
        proc = subprocess.Popen([self.vkd, "import", "--force", "-", "-o", self.target, "--name",
                                 "book"], env=self.env, stdin=subprocess.PIPE,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def feed():
            try:
                with open(tsv, "rb") as f:
                    while chunk := f.read(1 << 16):
                        proc.stdin.write(chunk)
                proc.stdin.close()
            except (BrokenPipeError, ValueError, OSError):
                pass

        threading.Thread(target=feed, daemon=True).start()
        return proc

    def timed_import(self, tsv, old):
        self.mtime = put_in_place(self.target, old)
        start = time.monotonic()
        proc = self.start_import(tsv)
        rewrite_start = None
        while proc.poll() is None:
            if rewrite_start is None and self.rewriting():
                rewrite_start = time.monotonic()
            time.sleep(0.0005)
        end = time.monotonic()
        return end - start, end - (rewrite_start or start)

    def imports(self, n, old, new, tsv):
        counts = dict.fromkeys(["kills", "old", "new", "damaged", "rolled back",
                                "record left", "strays"], 0)
        self.lock_folder(True)
        span, rewrite_span = self.timed_import(tsv, old)
        print(f"import: {span:.2f} s whole, {rewrite_span:.3f} s rewriting", flush=True)
        for i in range(n):
            self.mtime = put_in_place(self.target, old)
            proc = self.start_import(tsv)
            if self.kill_at(proc, span, rewrite_span, i % 2 == 1):
                counts["kills"] += 1
            self.verdict(old, new, counts)
        self.lock_folder(False)
        return counts

    # --- window saves -----------------------------------------------------------------

    def xdo(self, *args, timeout=60):
        return subprocess.run(["xdotool", *args], env=self.xenv, capture_output=True, text=True,
                              timeout=timeout)

    def window_of(self, name, timeout=60):
        r = self.xdo("search", "--sync", "--onlyvisible", "--name", name, timeout=timeout)
        ids = r.stdout.split()
        return ids[-1] if ids else None

    def start_save(self):
        app = os.path.join(self.work, "app")
        os.makedirs(app, exist_ok=True)
        proc = subprocess.Popen([self.vokari, self.target], cwd=app, env=self.xenv,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        main = self.window_of("Vokari")
        if not main:
            proc.kill()
            sys.exit("the window did not appear")
        # Keys wait in the queue while the book loads.
        self.xdo("windowfocus", "--sync", main)
        self.xdo("key", "ctrl+s")
        confirm = self.window_of("上書き確認", timeout=120)
        if not confirm:
            proc.kill()
            sys.exit("the save was not offered")
        self.xdo("windowfocus", "--sync", confirm)
        self.xdo("key", "Return")
        return proc

    def timed_save(self, old):
        self.mtime = put_in_place(self.target, old)
        proc = self.start_save()
        start = time.monotonic()
        rewrite_start = None
        while self.xdo("search", "--onlyvisible", "--name", "^Vokari$").stdout.count("\n") < 2:
            if rewrite_start is None and self.rewriting():
                rewrite_start = time.monotonic()
            if time.monotonic() - start > 120:
                break
        end = time.monotonic()
        proc.kill()
        proc.wait()
        return end - start, end - (rewrite_start or start)

    def saves(self, n, old, new):
        counts = dict.fromkeys(["kills", "old", "new", "damaged", "rolled back",
                                "record left", "strays"], 0)
        xvfb = subprocess.Popen(["Xvfb", ":77", "-screen", "0", "1280x1024x24", "-nolisten",
                                 "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1)
        self.xenv = dict(self.env, DISPLAY=":77", QT_QPA_PLATFORM="xcb")
        try:
            self.lock_folder(True)
            span, rewrite_span = self.timed_save(old)
            self.verdict(old, new, dict.fromkeys(counts, 0))
            print(f"save: {span:.2f} s from OK to the notice, {rewrite_span:.3f} s rewriting",
                  flush=True)
            for i in range(n):
                self.mtime = put_in_place(self.target, old)
                proc = self.start_save()
                if self.kill_at(proc, span, rewrite_span, i % 2 == 1):
                    counts["kills"] += 1
                else:
                    proc.kill()
                    proc.wait()
                self.verdict(old, new, counts)
            self.lock_folder(False)
        finally:
            xvfb.terminate()
            xvfb.wait()
        return counts


def noncanonical_name(data):
    """The same book with its name's length given in the 3-byte form: the window writes the
    1-byte form, so every byte after the name moves and the save changes the whole file."""
    n = data[0]
    assert n < 0xFF
    return bytes([0xFF, n, 0]) + data[1:]


def main():
    p = argparse.ArgumentParser()
    p.add_argument("build")
    p.add_argument("--imports", type=int, default=40)
    p.add_argument("--saves", type=int, default=40)
    p.add_argument("--work", default="/tmp/vokari-kill-rewrites")
    p.add_argument("--seed", type=int, default=1)
    args = p.parse_args()
    s = Series(args)
    old_tsv = os.path.join(s.work, "old.tsv")
    new_tsv = os.path.join(s.work, "new.tsv")
    make_tsv(old_tsv, 1)
    make_tsv(new_tsv, 2)
    os.makedirs(os.path.join(s.work, "ref"))
    old = s.imported(old_tsv, os.path.join(s.work, "ref", "old.vkd"))
    new = s.imported(new_tsv, os.path.join(s.work, "ref", "new.vkd"))
    with open(s.target, "wb") as f:
        f.write(old)
    print(f"book: {len(old)} bytes before, {len(new)} after", flush=True)
    if args.imports:
        print("imports:", s.imports(args.imports, old, new, new_tsv), flush=True)
    if args.saves:
        window_old = noncanonical_name(new)
        put_in_place(s.target, window_old)
        if s.vkd_run("check", s.target).returncode != 0:
            sys.exit("the book with a long name prefix does not read")
        print("window saves:", s.saves(args.saves, window_old, new), flush=True)


if __name__ == "__main__":
    main()
