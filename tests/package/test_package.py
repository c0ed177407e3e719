#!/usr/bin/env python3
"""Makes the Windows package with CPack and reads it back: the three files,
the help page's charset and links, the read-me as Notepad reads it."""
import html.parser
import os
import subprocess
import sys
import tempfile
import urllib.parse
import zipfile

build = sys.argv[1]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


class Links(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.links, self.ids, self.charset = [], set(), None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        for name in ("href", "src"):
            if name in a:
                self.links.append((tag, a[name]))
        if tag == "meta" and "charset" in a:
            self.charset = a["charset"].lower()


with tempfile.TemporaryDirectory() as out:
    subprocess.run(["cpack", "--config", os.path.join(build, "CPackConfig.cmake"), "-B", out],
                   check=True, stdout=subprocess.DEVNULL)
    path = os.path.join(out, "vlcr-2.99-win64.zip")
    check(os.path.exists(path), "cpack made vlcr-2.99-win64.zip")
    with zipfile.ZipFile(path) as z:
        names = sorted(n for n in z.namelist() if not n.endswith("/"))
        check(names == ["LICENSE", "README-ja.txt", "manual/index.html", "vlcr.exe"], "the archive holds %s" % names)
        check(b"MIT License" in z.read("LICENSE"), "the licence is not the MIT licence")
        exe = z.read("vlcr.exe")
        check(exe[:2] == b"MZ" and b"PE\0\0" in exe[:1024], "vlcr.exe is a Windows program")
        page_bytes = z.read("manual/index.html")
        page = page_bytes.decode("utf-8")
        parser = Links()
        parser.feed(page)
        check(parser.charset == "utf-8", "the help page says it is UTF-8")
        check("アイテムエディタ" in page and "Launch.ini" in page and "Ternvale\\Velocara" in page,
              "the help page tells of the list editor, Launch.ini and the settings key")
        check(len(parser.links) > 5, "the help page has links (%d)" % len(parser.links))
        for tag, link in parser.links:
            url = urllib.parse.urlparse(link)
            if url.scheme in ("http", "https", "mailto"):
                host = url.hostname or link.split("@")[-1]
                check(host == "example.com" or host.endswith(".example.com"), "address %s is under example.com" % link)
            elif link.startswith("#"):
                check(link[1:] in parser.ids, "anchor %s exists" % link)
            else:
                target = os.path.normpath(os.path.join("manual", url.path)).replace(os.sep, "/")
                check(target in names, "%s %s resolves in the archive" % (tag, link))
        readme = z.read("README-ja.txt")
        check(readme.startswith(b"\xef\xbb\xbf"), "the read-me starts with a UTF-8 byte order mark")
        text = readme[3:].decode("utf-8")
        check("\r\n" in text and "\n" not in text.replace("\r\n", ""), "the read-me has Windows line ends")
        check("manual\\index.html" in text and "vlcr.exe" in text, "the read-me names the program and the help")

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
