#!/usr/bin/env python3
"""Checks the layering of src/ from its #include lines.

Every folder of src/ is a node; a file's #include "folder/File.h" of a file in
another folder is an edge. The check fails when

- two or more folders depend on each other, directly or through others (a
  folder cycle);
- a file outside every ui/ folder and outside app/ includes a header from a
  ui/ folder: widget code belongs to the gui library only;
- a file of the site library includes a header of the network library: the
  site library links Qt Core alone, so that generating a site needs no
  network, database, curl or ssh code;
- a folder's CMakeLists.txt adds its files to the wrong library: files of a
  ui/ folder go to quillmart_gui, those of NETWORK_FOLDERS to
  quillmart_network, all others to quillmart_site;
- a file reports failures in one of the old shapes (Fallible, Status, a
  QString* error out-parameter, a lastError() of our own, a QString
  "...Problem()" that is empty on success): calls that can fail return
  Expected<T>.

With --graph it prints the folder graph, lowest folders first.
"""
import re
import sys
from pathlib import Path

SRC = Path(__file__).resolve().parent.parent / "src"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
TOP_FOLDER = "app"
# The folders whose code goes to the network: HTTP, POP3, SQL, the keyring,
# curl and ssh. Every other non-ui folder is the site library's.
NETWORK_FOLDERS = {"browser", "generator", "keyring", "orders", "publish", "trust", "web"}


def is_gui(folder):
    return "ui" in folder.split("/")


def library_of(folder):
    if is_gui(folder) or folder == TOP_FOLDER:
        return "quillmart_gui"
    return "quillmart_network" if folder in NETWORK_FOLDERS else "quillmart_site"


def source_files():
    return sorted(p for p in SRC.rglob("*") if p.suffix in (".h", ".cpp"))


def folder_of(path):
    return path.parent.relative_to(SRC).as_posix()


def folder_graph(problems):
    graph = {}
    for path in source_files():
        folder = folder_of(path)
        edges = graph.setdefault(folder, set())
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            target = SRC / included
            if not target.exists():
                continue  # a header of this folder named without its folder, or Qt's
            target_folder = folder_of(target)
            if target_folder != folder:
                edges.add(target_folder)
            if is_gui(target_folder) and library_of(folder) != "quillmart_gui":
                problems.append(f"file {path.relative_to(SRC)} outside ui/ includes gui header {included}")
            if library_of(folder) == "quillmart_site" and library_of(target_folder) == "quillmart_network":
                problems.append(f"site file {path.relative_to(SRC)} includes network header {included}")
    return graph


def cycles(graph):
    """The strongly connected components of more than one folder (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for target in graph.get(node, ()):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def check_libraries(problems):
    for lists in sorted(SRC.rglob("CMakeLists.txt")):
        folder = lists.parent.relative_to(SRC).as_posix()
        if folder in (".", TOP_FOLDER):
            continue
        expected = library_of(folder)
        for target in re.findall(r"target_sources\(\s*(\w+)", lists.read_text(encoding="utf-8")):
            if target != expected:
                problems.append(f"src/{folder}/CMakeLists.txt adds files to {target}, not {expected}")


# Comments and string literals are left out before these are matched.
OLD_SHAPES = {
    "fallible": re.compile(r"\bFallible\b"),
    "status": re.compile(r"\bStatus\b"),
    "error-out-parameter": re.compile(
        r"QString\s*\*\s*\w*(?:[Ee]rror|[Pp]roblem|[Ff]ailure|[Rr]eason)\w*\b"),
    # Qt's own lastError() (QSqlQuery, QSqlDatabase) is read as .lastError().text().
    "last-error": re.compile(r"\b(?:set)?[lL]astError\s*\((?!\s*\)\s*\.\s*text\b)|\bm_lastError\b"),
    "problem-text": re.compile(r"^\s*(?:static\s+|virtual\s+|inline\s+)*QString\s+(?:\w+::)?\w*[Pp]roblem\s*\("),
}
COMMENT_OR_STRING = re.compile(r'//.*$|"(?:\\.|[^"\\])*"')


def check_error_shapes(problems):
    for path in source_files():
        name = path.relative_to(SRC.parent).as_posix()
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            code = COMMENT_OR_STRING.sub("", line)
            for shape, pattern in OLD_SHAPES.items():
                if pattern.search(code):
                    problems.append(f"{name}:{number}: the old error shape \"{shape}\"; "
                                    "return Expected<T>")


def layered(graph):
    """Folders ordered so that each comes after every folder it includes."""
    order, placed = [], set()
    while len(placed) < len(graph):
        ready = sorted(f for f in graph if f not in placed and graph[f] <= placed)
        if not ready:
            break  # a cycle; reported separately
        order.extend(ready)
        placed.update(ready)
    return order


def main():
    problems = []
    graph = folder_graph(problems)
    for component in cycles(graph):
        problems.append("folders depend on each other: " + ", ".join(component))
    check_libraries(problems)
    check_error_shapes(problems)
    if "--graph" in sys.argv[1:]:
        for folder in layered(graph):
            print(f"{folder:16} -> {', '.join(sorted(graph[folder])) or '(nothing)'}")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        return 1
    print(f"layers: {len(graph)} folders, no cycles, each library includes only those below it")
    return 0


if __name__ == "__main__":
    sys.exit(main())
