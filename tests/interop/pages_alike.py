#!/usr/bin/env python3
"""Does LibreOffice lay out our save page for page as it lays out the original?

    pages_alike.py [--dir DIR] [--unlike FILE] [--keep DIR] [--quiet] TOOL [ARGS...]

Every *.rtf file in DIR (default: the interchange corpus beside this script)
is converted with "TOOL ARGS convert IN OUT". LibreOffice then lays out each
original and each save as PDF, all in one call, and pdftotext gives the words
of every page. A file is alike when both have the same number of pages and
every page holds the same words. Words, not lines or spaces: a line that
wraps elsewhere changes no word, a page that ends elsewhere does. Their order
on the page is left out, as pdftotext puts a bullet drawn a little higher or
lower before or after the line beside it. A field's value that depends on the moment or on the file's
name (times of day, the file name itself) is replaced by a placeholder, and
a bullet from a symbol font counts as the bullet it shows.

FILE lists files that may stay unlike, one "name<TAB>reason" a line (# starts
a comment). Files whose original LibreOffice cannot lay out are skipped.

The last lines give the figures: files alike, and pages alike over the pages
of the longer of each pair. --keep DIR keeps the saves, PDFs and page texts.

Exit status: 0 when every file is alike or listed, 1 otherwise, 2 on a usage
error, 77 when LibreOffice or pdftotext is missing or DIR is absent.
"""
import argparse
import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from lo_compare import BULLETS  # noqa: E402

# Times of day as fields show them: 14:05, 14:05:09, 2:05 PM.
TIME = re.compile(r"^\d{1,2}:\d{2}(:\d{2})?(\s*[AaPp]\.?[Mm]\.?)?[.,;:]?$")


def read_list(path):
    listed = {}
    if not path:
        return listed
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            name, _, reason = line.partition("\t")
            listed[name.strip()] = reason.strip()
    return listed


def lay_out(files, outdir, work):
    """One LibreOffice call for all files: PDFs in outdir."""
    profile = os.path.join(work, "profile")
    env = dict(os.environ, HOME=work)
    try:
        subprocess.run(["soffice", "--headless", "--norestore", "-env:UserInstallation=file://" + profile,
                        "--convert-to", "pdf", "--outdir", outdir] + files,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, timeout=1800)
    except subprocess.TimeoutExpired:
        sys.stderr.write("pages_alike: LibreOffice did not finish laying out\n")


def pages(pdf, name):
    """The words of each page, or None when there is no PDF."""
    if not os.path.exists(pdf):
        return None
    run = subprocess.run(["pdftotext", "-enc", "UTF-8", pdf, "-"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL)
    if run.returncode != 0:
        return None
    text = run.stdout.decode("utf-8", "replace")
    # A form feed ends every page, the last one too.
    out = text.split("\f")
    if out and not out[-1].strip():
        out.pop()
    return [normalise(page, name) for page in out]


def normalise(page, name):
    words = []
    for word in page.split():
        # The two copies lie side by side as NAME.orig.rtf and NAME.ours.rtf.
        word = word.replace(name + ".orig", name + ".*").replace(name + ".ours", name + ".*")
        # A bullet from a symbol font comes as a private-use or other code
        # for the same mark.
        word = BULLETS.get(word, word)
        words.append("<time>" if TIME.match(word) else word)
    # "2:05 PM" comes as two words.
    merged = []
    for word in words:
        if merged and merged[-1] == "<time>" and re.fullmatch(r"[AaPp]\.?[Mm]\.?", word):
            continue
        merged.append(word)
    return merged


def alike(a, b):
    return sorted(a) == sorted(b)


def describe(orig, ours):
    """Where the pages part: page counts and the first differing page, in words."""
    lines = ["pages %d → %d" % (len(orig), len(ours))]
    for i in range(max(len(orig), len(ours))):
        a = orig[i] if i < len(orig) else []
        b = ours[i] if i < len(ours) else []
        if alike(a, b):
            continue
        shown = 0
        for tag, a0, a1, b0, b1 in difflib.SequenceMatcher(None, a, b, autojunk=False).get_opcodes():
            if tag == "equal":
                continue
            lines.append("page %d, word %d: %s → %s" % (i + 1, a0 + 1, clip(a[a0:a1]), clip(b[b0:b1])))
            shown += 1
            if shown == 3:
                break
        break
    return lines


def clip(words):
    text = " ".join(words)
    return '"%s"' % (text if len(text) <= 60 else text[:57] + "…")


def main(argv):
    parser = argparse.ArgumentParser(usage="%(prog)s [options] TOOL [ARGS...]",
                                     description=__doc__.split("\n\n")[0])
    parser.add_argument("--dir", default=os.path.join(HERE, "corpus"), help="folder of originals (*.rtf)")
    parser.add_argument("--unlike", help="files that may stay unlike: name<TAB>reason")
    parser.add_argument("--keep", help="keep the work files in this folder")
    parser.add_argument("--quiet", action="store_true", help="print only files that are not alike")
    parser.add_argument("tool", nargs=argparse.REMAINDER)
    args = parser.parse_args(argv)
    if not args.tool:
        parser.error("TOOL is missing")
    for program in ("soffice", "pdftotext"):
        if shutil.which(program) is None:
            print("SKIP: %s is not installed" % program)
            return 77
    if not os.path.isdir(args.dir):
        print("SKIP: %s is absent" % args.dir)
        return 77
    listed = read_list(args.unlike)
    originals = sorted(f for f in os.listdir(args.dir) if f.endswith(".rtf"))

    work = args.keep or tempfile.mkdtemp(prefix="pages-alike-")
    failed = False
    try:
        folder, pdfs = os.path.join(work, "in"), os.path.join(work, "pdf")
        os.makedirs(folder, exist_ok=True)
        os.makedirs(pdfs, exist_ok=True)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=work)
        names, to_lay_out = [], []
        for original in originals:
            name = original[:-4]
            orig, ours = os.path.join(folder, name + ".orig.rtf"), os.path.join(folder, name + ".ours.rtf")
            shutil.copyfile(os.path.join(args.dir, original), orig)
            try:
                run = subprocess.run(args.tool + ["convert", orig, ours], stdout=subprocess.PIPE,
                                     stderr=subprocess.STDOUT, env=env, timeout=120)
                ok = run.returncode == 0 and os.path.exists(ours)
                log = run.stdout.decode("utf-8", "replace")
            except subprocess.TimeoutExpired:
                ok, log = False, "did not finish in 120 s"
            to_lay_out.append(orig)
            if ok:
                to_lay_out.append(ours)
                names.append(name)
            elif name in listed:
                print("UNLIKE %s, listed: %s" % (name, listed[name]))
            else:
                print("FAIL %s: the tool could not convert it\n    %s" % (name, log.strip().replace("\n", "\n    ")))
                failed = True
        lay_out(to_lay_out, pdfs, work)

        files_alike = files_total = pages_alike = pages_total = 0
        for name in names:
            orig = pages(os.path.join(pdfs, name + ".orig.pdf"), name)
            if orig is None:
                print("SKIP %s: LibreOffice cannot lay out the original" % name)
                continue
            ours = pages(os.path.join(pdfs, name + ".ours.pdf"), name)
            files_total += 1
            if ours is None:
                pages_total += len(orig)
                detail = ["LibreOffice cannot lay out our save"]
            else:
                longer = max(len(orig), len(ours))
                pages_total += longer
                pages_alike += sum(1 for a, b in zip(orig, ours) if alike(a, b))
                if len(orig) == len(ours) and all(alike(a, b) for a, b in zip(orig, ours)):
                    files_alike += 1
                    if name in listed:
                        print("ALIKE %s (%d pages), listed as unlike: take it off the list" % (name, len(orig)))
                    elif not args.quiet:
                        print("ALIKE %s (%d pages)" % (name, len(orig)))
                    continue
                detail = describe(orig, ours)
            if name in listed:
                print("UNLIKE %s, listed: %s" % (name, listed[name]))
            else:
                print("FAIL %s" % name)
                failed = True
            for line in detail:
                print("    " + line)
        print("== files alike: %d/%d" % (files_alike, files_total))
        print("== pages alike: %d/%d" % (pages_alike, pages_total))
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
