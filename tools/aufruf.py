"""Command-line checks shared by the scripts in tools/: a script that is run
without its arguments, or with arguments it cannot use, prints its usage on
standard error and exits with status 2 instead of failing halfway with a
traceback."""
import os
import sys


def nutzung(text, grund=None):
    if grund:
        print(f'{os.path.basename(sys.argv[0])}: {grund}', file=sys.stderr)
    print(text, file=sys.stderr)
    sys.exit(2)


def argumente(text, mindestens, zahlen=(), dateien=(), dateien_ab=None):
    """The arguments after the script's name. Needs at least `mindestens`
    of them; those at the positions `zahlen` must be whole numbers above 0,
    those at the positions `dateien` and from `dateien_ab` on must name
    existing files or directories. -h or --help prints the usage alone."""
    a = sys.argv[1:]
    if '-h' in a or '--help' in a:
        print(text)
        sys.exit(0)
    if len(a) < mindestens:
        nutzung(text)
    for i in zahlen:
        if i < len(a) and not (a[i].isdigit() and int(a[i]) > 0):
            nutzung(text, f'{a[i]!r} is no whole number above 0')
    pfade = [i for i in dateien if i < len(a)]
    if dateien_ab is not None:
        pfade += range(dateien_ab, len(a))
    for i in pfade:
        if not os.path.exists(a[i]):
            nutzung(text, f'{a[i]}: no such file')
    return a
