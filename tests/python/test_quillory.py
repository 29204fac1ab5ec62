"""The Python package against quillory-cli, its own oracle: the same seed and options give the same
records, read back with Python's csv; and what the package adds (a stream taken in parts, Python's
own values and exceptions, threads, Ctrl+C)."""

import csv
import datetime
import io
import os
import signal
import subprocess
import sys
import threading
import time

import pytest

import quillory

CLI = os.environ["QUILLORY_CLI"]


def cli(*arguments):
    done = subprocess.run([CLI, *arguments], capture_output=True, check=True)
    return done.stdout.decode("utf-8")


@pytest.fixture(scope="module")
def names_files(tmp_path_factory):
    folder = tmp_path_factory.mktemp("names")
    first = folder / "first.txt"
    last = folder / "last.txt"
    first.write_text("Jean-Pierre\nAnne\nL\u2019\u00c9lodie\nZo\u00e9\nMarc\n", encoding="utf-8")
    last.write_text("Le Gall\nDupont\nO'Neil\nD\u00e9sir\u00e9\nMartin\nRoux\n", encoding="utf-8")
    return first, last


@pytest.mark.parametrize(
    "options, arguments",
    [
        (dict(seed=42, weighted=True, born="1960-1969", gender="female"),
         ["--seed", "42", "--weighted", "--born", "1960-1969", "--gender", "female"]),
        (dict(seed=7, alive=True, age="18-65", ascii=True), ["--seed", "7", "--alive", "--age", "18-65", "--ascii"]),
        (dict(seed=3, part="last", weighted=True), ["--seed", "3", "--part", "last", "--weighted"]),
    ],
)
def test_names_are_the_command_lines(options, arguments):
    expected = cli("-n", "2000", *arguments).splitlines()
    assert quillory.names(2000, **options) == expected
    # The same stream taken in parts of every size.
    g = quillory.Generator(**options)
    parts = [g.name()] + g.names(0) + g.names(999) + g.names(1000)
    assert parts == expected and g.taken == 2000


def test_unique_names_from_files_and_from_lists(names_files):
    first, last = names_files
    expected = cli("-n", "30", "--seed", "5", "--unique", "--first-names", str(first), "--last-names", str(last))
    expected = expected.splitlines()
    assert len(set(expected)) == 30
    assert quillory.names(30, seed=5, unique=True, first_names=first, last_names=str(last)) == expected
    # Items of a list are read as the lines of a file.
    lines = first.read_text(encoding="utf-8").splitlines()
    assert quillory.names(30, seed=5, unique=True, first_names=lines, last_names=last) == expected
    # A generator never gives a name twice across its calls, and refuses more than there are.
    g = quillory.Generator(seed=5, unique=True, first_names=iter(lines), last_names=last)
    given = g.names(10) + g.names(15) + g.names(5)
    assert given[:10] == cli("-n", "10", "--seed", "5", "--unique", "--first-names", str(first),
                             "--last-names", str(last)).splitlines()
    assert len(set(given)) == 30
    with pytest.raises(ValueError, match="these lists give 30 different names, not 31"):
        g.names(1)


def test_people_are_the_command_lines_field_for_field(tmp_path):
    fields = list(quillory.FIELDS)
    options = dict(seed=11, alive=True, age="0-110", unique=True)
    text = cli("-n", "3000", "--seed", "11", "--alive", "--age", "0-110", "--unique", "--format", "csv",
               "--fields", ",".join(fields))
    # A unique run of many records is drawn whole, as the command line draws it: from lists where
    # most names are asked for, it shuffles them all rather than draw and pass over repeats.
    letters = "abcdefghijklmnopqrstuvwxyz"
    firsts, lasts = tmp_path / "firsts.txt", tmp_path / "lasts.txt"
    firsts.write_text("".join(f"A{a}{b}\n" for a in letters for b in letters[:8]), encoding="utf-8")
    lasts.write_text("".join(f"B{a}{b}\n" for a in letters for b in letters[:6]), encoding="utf-8")
    many = cli("-n", "20000", "--seed", "4", "--unique", "--format", "csv", "--fields", "full_name",
               "--first-names", str(firsts), "--last-names", str(lasts))
    drawn = quillory.people(20000, ["full_name"], seed=4, unique=True, first_names=firsts, last_names=lasts)
    assert [p["full_name"] for p in drawn] == many.splitlines()[1:]
    rows = list(csv.DictReader(io.StringIO(text, newline="")))
    records = quillory.people(3000, fields, **options)
    columns = quillory.people(3000, fields, columns=True, **options)
    assert list(columns) == fields and len(records) == len(rows) == 3000
    for number, (row, record) in enumerate(zip(rows, records)):
        assert list(record) == fields
        for field in fields:
            value = record[field]
            assert value == columns[field][number]
            if field == "birth_year":
                assert type(value) is int
            elif field == "birth_date":
                assert type(value) is datetime.date
            elif value is not None:
                assert type(value) is str
            given = "" if value is None else value.isoformat() if field == "birth_date" else str(value)
            assert given == row[field], (number, field)
    assert any(record["title"] is None for record in records)  # the children
    # The columns as pandas takes them: a frame of the same records.
    pandas = pytest.importorskip("pandas")
    frame = pandas.DataFrame(columns)
    assert list(frame.columns) == fields and len(frame) == 3000
    assert frame.iloc[1234].to_dict() == records[1234]


def test_names_then_people_continue_one_stream():
    fields = ["full_name", "sex", "birth_date", "email", "nir", "address", "mobile"]
    for options in (dict(seed=9), dict(seed=9, alive=True), dict(seed=9, weighted=True, born=1954)):
        whole = quillory.people(50, fields, **options)
        g = quillory.Generator(**options)
        assert g.names(20) == [record["full_name"] for record in whole[:20]]
        assert g.people(10, fields) == whole[20:30]
        assert g.people(5, ["nir", "sex"]) == [{"nir": r["nir"], "sex": r["sex"]} for r in whole[30:35]]
        assert list(g.iter_people(15, fields)) == whole[35:]


@pytest.mark.parametrize(
    "call, error, words",
    [
        (lambda: quillory.names(3, born="2009-2000"), ValueError, "the range runs backwards (write 2000-2009)"),
        (lambda: quillory.names(3, gender="other"), ValueError, "invalid value 'other' for --gender"),
        (lambda: quillory.names(3, age=200), ValueError, "--age 200: ages run from 0 to 110"),
        (lambda: quillory.names(3, on="2020-01-01"), ValueError, "the day of --alive and --age"),
        (lambda: quillory.names(3, seed=2**64), ValueError, "invalid seed"),
        (lambda: quillory.names(-1), ValueError, "the count is a whole number from 0"),
        (lambda: quillory.people(3, ["name"]), ValueError, "unknown field 'name'"),
        (lambda: quillory.people(3, ["sex", "sex"]), ValueError, "field 'sex' given twice"),
        (lambda: quillory.people(3, ["first_name"], part="last"), ValueError, "--fields first_name: --part last draws none"),
        (lambda: quillory.names(3, seed="42"), TypeError, "seed= takes an int"),
        (lambda: quillory.names(3, weighted=1), TypeError, "weighted= takes True or False"),
        (lambda: quillory.names(3, first_names=[b"Jean"]), TypeError, "holds bytes"),
        (lambda: quillory.names(3, first_names=["Je\nan"]), ValueError, "line break"),
        (lambda: quillory.names(3, colour="red"), TypeError, "unknown option colour="),
        (lambda: quillory.names("3"), TypeError, "the count takes an int"),
        (lambda: quillory.people(3, "sex"), TypeError, "fields= takes a list"),
        (lambda: quillory.names(3, database="/nowhere/names.mdb"), FileNotFoundError, "/nowhere/names.mdb"),
        (lambda: quillory.names(3, first_names="/nowhere/first.txt"), FileNotFoundError, "first.txt"),
        (lambda: quillory.names(3, first_names=[]), RuntimeError, "no first names to draw from"),
    ],
)
def test_each_mistake_raises_its_exception_in_the_command_lines_words(call, error, words):
    with pytest.raises(error) as raised:
        call()
    assert words in str(raised.value)


def test_threads_share_a_generator_without_repeating_its_state():
    g = quillory.Generator(seed=1, unique=True)
    taken = []

    def take():
        for _ in range(20):
            taken.extend(g.names(500))

    threads = [threading.Thread(target=take) for _ in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert len(taken) == len(set(taken)) == 40_000 == g.taken


def test_ctrl_c_stops_a_long_draw_quickly():
    script = (
        "import sys, time, quillory\n"
        "g = quillory.Generator(seed=1)\n"
        "print('ready', flush=True)\n"
        "try:\n"
        "    g.people(200_000_000, ['full_name', 'birth_date', 'address'])\n"
        "except KeyboardInterrupt:\n"
        "    print('interrupted', time.monotonic(), flush=True)\n"
    )
    child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, text=True)
    assert child.stdout.readline() == "ready\n"
    time.sleep(0.5)
    sent = time.monotonic()
    child.send_signal(signal.SIGINT)
    out, _ = child.communicate(timeout=30)
    word, when = out.split()
    assert word == "interrupted" and float(when) - sent < 0.2
