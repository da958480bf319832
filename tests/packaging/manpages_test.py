#!/usr/bin/env python3
"""The manual pages say what --help says: every synopsis, summary, option and exit status of
`chromiva-cli --help`, `chromiva-cli help COMMAND` and `chromiva --help` is a line of the page.

usage: manpages_test.py CHROMIVA_CLI CHROMIVA_CLI.1 CHROMIVA CHROMIVA.1
"""
import re
import subprocess
import sys


def page_lines(path):
    """The page's text lines, with the escapes and font changes the pages use undone."""
    lines = set()
    with open(path, encoding="utf-8") as page:
        for line in page:
            if line.startswith("."):
                continue
            line = re.sub(r"\\f[BIRP]", "", line.rstrip("\n"))
            lines.add(line.replace("\\&", "").replace("\\-", "-").replace("\\e", "\\"))
    return lines


def help_items(text):
    """The pieces of a help text that a page must hold: usage lines and option columns."""
    items = []
    for line in text.splitlines():
        if line.startswith("usage: "):
            items.append(line[len("usage: "):])
        elif line.startswith("  "):
            items.extend(re.split(r" {2,}", line.strip()))
    return items


def help_of(program, *words):
    return subprocess.run([program, *words], check=True, capture_output=True, text=True).stdout


def missing(program, page, texts):
    lines = page_lines(page)
    return [f"{page}: {item!r}" for text in texts for item in help_items(text)
            if item not in lines and f"{program} {item}" not in lines]


def main(cli, cli_page, window, window_page):
    top = help_of(cli, "--help")
    commands = re.findall(r"^  ([a-z]+)", top.split("commands:\n", 1)[1].split("\n\n")[0], re.M)
    texts = [top] + [help_of(cli, "help", name) for name in commands]
    summaries = [text.split("\n\n")[1].split("\n")[0] for text in texts[1:]]
    problems = missing("chromiva-cli", cli_page, texts)
    problems += [f"{cli_page}: {s!r}" for s in summaries if s not in page_lines(cli_page)]
    problems += missing("chromiva", window_page, [help_of(window, "--help")])
    for problem in problems:
        print("not in the manual page:", problem)
    return 1 if problems or not commands else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
