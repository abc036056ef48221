#!/usr/bin/python3
"""Composes a sheet in the running Mirvane through the accessibility bus, as an assistive tool
does: finds the controls by role and name, ticks years through their actions, presses Compose
sheet through its action and reads the status bar and the preview's name.

  atspi_compose.py LANGUAGE YEAR...   LANGUAGE is en or de; exits 0 when everything reads as
                                      expected, else 1 with what was found on stderr
Every wait is bounded.
"""
import sys
import time

import pyatspi

TEXTS = {
    "en": {
        "place": "SOURCE ARCHIVE",
        "years": "Select 2-6 years",
        "compose": "Compose sheet",
        "ready": "Ready. Your contact sheet is fully offline.",
        "select": "Select between 2 and 6 years, then compose the sheet.",
        "error": "Error",
        "preview": "Sheet preview",
    },
    "de": {
        "place": "BILDARCHIV",
        "years": "2-6 Jahre auswählen",
        "compose": "Blatt erstellen",
        "ready": "Bereit. Das Kontaktblatt ist vollständig offline.",
        "select": "Zwischen 2 und 6 Jahre auswählen und das Blatt erstellen.",
        "error": "Fehler",
        "preview": "Blattvorschau",
    },
}


def nodes(node):
    if node is None:
        return
    yield node
    for child in node:
        yield from nodes(child)


def find(app, role, name):
    for node in nodes(app):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def only(app, role):
    found = [node for node in nodes(app) if node.getRoleName() == role]
    return found[0] if len(found) == 1 else None


def act(node, action):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            return actions.doAction(i)
    raise LookupError(f"{node.getRoleName()} {node.name!r} has no action {action!r}")


def until(what, seconds=10):
    deadline = time.monotonic() + seconds
    while True:
        value = what()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.2)


def mirvane():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Mirvane":
            return app
    return None


def tick_only(years_list, years):
    for item in years_list:
        if item.getRoleName() != "check box":
            continue
        ticked = item.getState().contains(pyatspi.STATE_CHECKED)
        if ticked != (item.name in years):
            act(item, "Toggle")


def ticked(years_list):
    return [i.name for i in years_list
            if i.getRoleName() == "check box" and i.getState().contains(pyatspi.STATE_CHECKED)]


def main():
    language, years = sys.argv[1], sys.argv[2:]
    texts = TEXTS[language]
    app = until(mirvane, 20)
    if app is None:
        print("no Mirvane on the accessibility bus", file=sys.stderr)
        return 1
    failures = []

    def expect(what, found, wanted):
        if found != wanted:
            failures.append(f"{what}: {found!r}, not {wanted!r}")

    place = until(lambda: find(app, "combo box", texts["place"]))
    years_list = find(app, "list", texts["years"])
    compose = find(app, "push button", texts["compose"])
    status = only(app, "status bar")
    preview = only(app, "image")
    for what, node in [("place selector", place), ("year list", years_list),
                       ("Compose sheet", compose), ("status bar", status),
                       ("preview", preview)]:
        if node is None:
            failures.append(f"no {what}")
    if failures:
        print("\n".join(failures), file=sys.stderr)
        return 1
    # One year is too few: the status bar says so, marked as an error.
    tick_only(years_list, years[:1])
    expect("ticked after one toggle", until(lambda: ticked(years_list) == years[:1]) and
           ticked(years_list), years[:1])
    act(compose, "Press")
    expect("status after one year", until(lambda: status.name == texts["select"]) and
           status.name, texts["select"])
    expect("its description", status.description, texts["error"])

    tick_only(years_list, years)
    act(compose, "Press")
    name = f"{texts['preview']}: Aral Sea, " + ", ".join(years)
    expect("status after composing", until(lambda: status.name == texts["ready"]) and
           status.name, texts["ready"])
    expect("its description", status.description, "")
    expect("the preview's name", until(lambda: preview.name == name) and preview.name, name)
    if failures:
        print("\n".join(failures), file=sys.stderr)
        return 1
    print(f"  (composed {name!r}; status {status.name!r})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
