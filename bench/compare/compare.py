#!/usr/bin/python3
"""Drives the contenders of the comparison bench side by side and prints their rates, ratios and memory.

Every contender is a long-running process speaking the line protocol of bench_contender.cpp ("run MS",
"count N", "memory", "quit"), so each keeps its connections and caches between rounds. Usage:

  compare.py rates --title TEXT --contender NAME=COMMAND ... --baseline NAME ... [--rounds N] [--round-ms MS]
             [--warmup-ms MS] [--cpu LIST]
      Runs the contenders in alternating rounds (the order rotates every round, so no one always runs first on an
      idle machine or last on a busy one) and prints, per contender, the median of its round rates and, against
      each baseline, the median of the per-round ratios (both contenders measured in the same round).
  compare.py memory --title TEXT --contender NAME=COMMAND ... --requests N [--cpu LIST]
      Prints each contender's resident memory before and after N requests (after one warm-up request).
  compare.py peak --title TEXT --contender NAME=COMMAND ... --response-bytes N [--warmup-url URL] [--cpu LIST]
      Prints how much each contender's peak resident memory grew for one request whose answer is N bytes, and
      that growth over N. With --warmup-url, first as the process's first request, then (in a new process) after
      one request to URL, whose own growth is printed too: what the answer costs without the process's one-time
      costs (the first load of the component and libcurl, their first buffers).

--cpu pins every contender to the CPUs given (taskset -c LIST). Any contender error ends the run with status 1.
"""
import argparse
import shlex
import statistics
import subprocess
import sys


class Contender:
    def __init__(self, name, command, cpu):
        self.name = name
        self.command = command
        argv = shlex.split(command)
        if cpu:
            argv = ["taskset", "-c", cpu] + argv
        self.process = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.rates = []

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().strip()
        if not answer or answer.startswith("error"):
            raise RuntimeError("%s: %s" % (self.name, answer or "ended without an answer"))
        return answer.split()

    def run(self, milliseconds):
        requests, seconds = self.ask("run %d" % milliseconds)
        return int(requests), float(seconds)

    def count(self, requests):
        done, seconds = self.ask("count %d" % requests)
        return int(done), float(seconds)

    def memory(self):
        rss, peak = self.ask("memory")
        return int(rss), int(peak)

    def close(self):
        try:
            self.process.stdin.write("quit\n")
            self.process.stdin.close()
            self.process.wait(timeout=30)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()  # our own child, by its handle
            self.process.wait()


def parse_contenders(values):
    contenders = []
    for value in values:
        name, separator, command = value.partition("=")
        if not separator or not name or not command:
            raise SystemExit("--contender wants NAME=COMMAND, got %r" % value)
        contenders.append((name, command))
    return contenders


def rates(args, contenders):
    by_name = {c.name: c for c in contenders}
    for baseline in args.baseline:
        if baseline not in by_name:
            raise SystemExit("--baseline %s is not a contender" % baseline)
    for c in contenders:  # first connections, first loads, caches
        c.run(args.warmup_ms)
    for round_index in range(args.rounds):
        shift = round_index % len(contenders)
        for c in contenders[shift:] + contenders[:shift]:
            requests, seconds = c.run(args.round_ms)
            c.rates.append(requests / seconds)
    width = max(len(c.name) for c in contenders)
    print("%s (%d rounds of %d ms, alternating; medians)" % (args.title, args.rounds, args.round_ms))
    for c in contenders:
        line = "  %-*s %9.0f requests/s" % (width, c.name, statistics.median(c.rates))
        for baseline in args.baseline:
            if baseline == c.name:
                continue
            ratios = [mine / theirs for mine, theirs in zip(c.rates, by_name[baseline].rates)]
            line += "   %.3f of %s" % (statistics.median(ratios), baseline)
        print(line, flush=True)


def memory(args, contenders):
    print("%s (resident memory before and after %d requests, after one warm-up request)" %
          (args.title, args.requests))
    width = max(len(c.name) for c in contenders)
    for c in contenders:
        c.count(1)
        before, _ = c.memory()
        _, seconds = c.count(args.requests)
        after, _ = c.memory()
        print("  %-*s %8d KiB before  %8d KiB after  (%+d KiB; %.1f s)" %
              (width, c.name, before, after, after - before, seconds), flush=True)


def peak(args, contenders):
    size_kib = args.response_bytes / 1024.0
    print("%s (growth of peak resident memory for one %.1f MiB answer)" % (args.title, size_kib / 1024))
    width = max(len(c.name) for c in contenders)
    for c in contenders:
        _, peak_before = c.memory()
        c.count(1)
        _, peak_after = c.memory()
        print("  %-*s %8d KiB  = %.2fx the answer's size" %
              (width, c.name, peak_after - peak_before, (peak_after - peak_before) / size_kib), flush=True)
    if not args.warmup_url:
        return
    print("after one warm-up request to %s (a new process each)" % args.warmup_url)
    for c in contenders:
        fresh = Contender(c.name, c.command, args.cpu)
        try:
            argv = shlex.split(c.command)
            large_url = argv[argv.index("--url") + 1]
            _, peak_start = fresh.memory()
            fresh.ask("url " + args.warmup_url)
            fresh.count(1)
            _, peak_before = fresh.memory()
            fresh.ask("url " + large_url)
            fresh.count(1)
            _, peak_after = fresh.memory()
        finally:
            fresh.close()
        print("  %-*s %8d KiB  = %.2fx the answer's size  (the warm-up request: %d KiB)" %
              (width, c.name, peak_after - peak_before, (peak_after - peak_before) / size_kib,
               peak_before - peak_start), flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mode", choices=["rates", "memory", "peak"])
    parser.add_argument("--title", required=True)
    parser.add_argument("--contender", action="append", required=True)
    parser.add_argument("--baseline", action="append", default=[])
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("--round-ms", type=int, default=500)
    parser.add_argument("--warmup-ms", type=int, default=200)
    parser.add_argument("--requests", type=int, default=100000)
    parser.add_argument("--response-bytes", type=int, default=0)
    parser.add_argument("--warmup-url", default="")
    parser.add_argument("--cpu", default="")
    args = parser.parse_args()

    contenders = []
    try:
        for name, command in parse_contenders(args.contender):
            contenders.append(Contender(name, command, args.cpu))
        {"rates": rates, "memory": memory, "peak": peak}[args.mode](args, contenders)
    except RuntimeError as error:
        print("compare: %s" % error, file=sys.stderr)
        return 1
    finally:
        for c in contenders:
            c.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
