"""Reads a status page, prints what a test needs to know of it as JSON: the problems found (markup that
does not parse, end tags that close nothing, elements left open) and the text of each table body row's
cells. Usage: check_status_page.py PAGE"""
import html.parser
import json
import sys

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}


class PageChecker(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open = []
        self.problems = []
        self.rows = []
        self.cell = None

    def handle_starttag(self, tag, attrs):
        if tag not in VOID:
            self.open.append(tag)
        if tag == "tr" and "tbody" in self.open:
            self.rows.append([])
        elif tag == "td" and self.rows:
            self.cell = ""

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if not self.open or self.open[-1] != tag:
            self.problems.append(f"</{tag}> closes {self.open[-1] if self.open else 'nothing'}")
            return
        self.open.pop()
        if tag == "td" and self.cell is not None:
            self.rows[-1].append(self.cell.strip())
            self.cell = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data


def main():
    checker = PageChecker()
    with open(sys.argv[1], encoding="utf-8") as page:
        checker.feed(page.read())
    checker.close()
    if checker.open:
        checker.problems.append("left open: " + " ".join(checker.open))
    print(json.dumps({"problems": checker.problems, "rows": checker.rows}))


if __name__ == "__main__":
    main()
