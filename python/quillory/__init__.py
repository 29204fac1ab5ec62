"""Random French personal names and people, drawn by Quillory's own engine inside Python.

The draws are those of ``quillory-cli``: for the same seed and options, :func:`names` and
:func:`people` give exactly its output, record for record. A :class:`Generator` is the same stream
taken a part at a time.

Options (keyword arguments, each named as quillory-cli's option):

- ``part``: ``"first-last"`` (default), ``"first"`` or ``"last"``.
- ``gender``: ``"both"`` (default), ``"male"``/``"M"`` or ``"female"``/``"F"``.
- ``source``: ``"builtin"`` (default) or ``"user"`` (the User List of the names database).
- ``database``: another ``names.mdb`` to read (never written).
- ``first_names``, ``last_names``: a path (``str`` or ``os.PathLike``) of a names file, or any other
  iterable of ``str``, each item read as a line of such a file (apostrophes removed, NFC, 50
  characters).
- ``strip_spaces``, ``weighted``, ``unique``, ``alive``, ``ascii``: ``bool``.
- ``born``: years of birth, ``1954`` or ``"2000-2009"``; ``age``: ``30`` or ``"18-65"``;
  ``on``: the day ages are told on, ``"2031-07-14"`` or a ``datetime.date``.
- ``seed``: a whole number from 0 to 2**64 - 1; without it, a seed from the system.

Fields for people: ``first_name``, ``last_name``, ``full_name``, ``sex``, ``birth_year`` (an
``int``), ``birth_date`` (a ``datetime.date``), ``title``, ``initials``, ``email``,
``first_name_ascii``, ``last_name_ascii``, ``birth_place``, ``birth_department``, ``street``,
``postcode``, ``city``, ``department``, ``address``, ``phone``, ``phone_international``,
``mobile``, ``mobile_international``, ``nir``. A value not known is ``None``.

A mistake in the options raises ``ValueError`` (``TypeError`` for a value of the wrong type) with
quillory-cli's own words; a missing database or names file raises ``FileNotFoundError``.
"""

import datetime as _datetime
import os as _os

from . import _engine

try:
    from ._build_tree import PROGRAM_FOLDER as _PROGRAM_FOLDER
except ImportError:
    # Installed: the package in PREFIX/lib/python3/dist-packages/quillory, the program's names and
    # places in PREFIX/lib/quillory, as quillory-cli finds them beside itself.
    _PROGRAM_FOLDER = _os.path.normpath(_os.path.join(_os.path.dirname(_os.path.abspath(__file__)),
                                                      "..", "..", "..", "quillory"))

__all__ = ["FIELDS", "Generator", "names", "people"]

#: Every field a person's record can hold, in quillory-cli's order.
FIELDS = tuple(_engine.FIELDS)

_FLAGS = ("strip_spaces", "weighted", "unique", "alive", "ascii")
_WORDS = ("part", "gender", "source")
# How many records iter_people draws at a time.
_CHUNK = 10_000


def _option(name):
    return "--" + name.replace("_", "-")


def _path(value, name):
    try:
        path = _os.fsdecode(_os.fspath(value))
    except TypeError:
        raise TypeError(f"{name}= takes a path, not {type(value).__name__}") from None
    if not _os.path.exists(path):
        raise FileNotFoundError(2, "No such file or directory", path)
    return path


def _lines(value, name):
    """The items of an iterable of str, as the lines of a names file."""
    if isinstance(value, (bytes, bytearray)):
        raise TypeError(f"{name}= takes a path or an iterable of str, not {type(value).__name__}")
    try:
        items = iter(value)
    except TypeError:
        raise TypeError(f"{name}= takes a path or an iterable of str, not {type(value).__name__}") from None
    lines = []
    for item in items:
        if not isinstance(item, str):
            raise TypeError(f"{name}= holds {type(item).__name__}, where each item is a name (str)")
        if "\n" in item or "\r" in item:
            raise ValueError(f"{name}= holds a name with a line break: {item!r}")
        lines.append(item)
    return ("\n".join(lines) + "\n").encode("utf-8", "surrogatepass") if lines else b""


def _arguments(options):
    """quillory-cli's arguments for the options, and the lines given instead of files."""
    arguments, contents = [], {}
    for name, value in options.items():
        if name in _FLAGS:
            if not isinstance(value, bool):
                raise TypeError(f"{name}= takes True or False, not {type(value).__name__}")
            if value:
                arguments.append(_option(name))
        elif name in _WORDS:
            if not isinstance(value, str):
                raise TypeError(f"{name}= takes a str, not {type(value).__name__}")
            arguments += [_option(name), value]
        elif name in ("born", "age"):
            if value is None:
                continue
            if isinstance(value, bool) or not isinstance(value, (int, str)):
                raise TypeError(f"{name}= takes an int or a str, not {type(value).__name__}")
            arguments += [_option(name), str(value)]
        elif name == "on":
            if value is None:
                continue
            if isinstance(value, _datetime.date) and not isinstance(value, _datetime.datetime):
                value = value.isoformat()
            if not isinstance(value, str):
                raise TypeError(f"on= takes a datetime.date or a str, not {type(value).__name__}")
            arguments += ["--on", value]
        elif name == "seed":
            if value is None:
                continue
            if isinstance(value, bool) or not isinstance(value, int):
                raise TypeError(f"seed= takes an int, not {type(value).__name__}")
            arguments += ["--seed", str(value)]
        elif name == "database":
            if value is not None:
                arguments += ["--database", _path(value, name)]
        elif name in ("first_names", "last_names"):
            if value is None:
                continue
            if isinstance(value, (str, _os.PathLike)):
                arguments += [_option(name), _path(value, name)]
            else:
                contents[name] = _lines(value, name)
                arguments += [_option(name), name]
        else:
            raise TypeError(f"unknown option {name}=")
    return arguments, contents


def _fields(fields):
    if isinstance(fields, str) or not all(isinstance(field, str) for field in fields):
        raise TypeError("fields= takes a list of field names (str)")
    fields = list(fields)
    if not fields:
        raise ValueError("fields= names no field")
    for field in fields:
        if "," in field:
            raise ValueError(f"unknown field '{field}' (choose from {', '.join(FIELDS)})")
    return fields


def _count(count):
    if isinstance(count, bool) or not isinstance(count, int):
        raise TypeError(f"the count takes an int, not {type(count).__name__}")
    if count < 0 or count >= 2**63:
        raise ValueError(f"a count of {count}: the count is a whole number from 0 to {2**63 - 1}")
    return count


class Generator:
    """A stream of records: names, and the people behind them, drawn as quillory-cli draws them.

    Each call takes the next records: ``g.names(3) + g.names(2)`` equals ``names(5, ...)`` with the
    same options, and ``g.names(3)`` then ``g.people(2, fields)`` gives records 4 and 5 of
    ``people(5, fields)``. With ``unique=True`` no name is given twice across calls; the first call
    equals quillory-cli's run of that count, while later ones need not (quillory-cli chooses how it
    draws without repeats from the whole count, which a stream does not know in advance).

    The options are those of the module (see ``help(quillory)``). A generator may be shared by
    threads: each call takes its records whole. Drawing releases the interpreter's lock, and
    Ctrl+C stops a long call within a fraction of a second.
    """

    def __init__(self, **options):
        arguments, contents = _arguments(options)
        self._options = dict(options)
        self._session = _engine.Session(
            arguments, contents.get("first_names"), contents.get("last_names"), _PROGRAM_FOLDER
        )

    @property
    def seed(self):
        """The seed of the stream: the one given, or the one the system gave."""
        return self._session.seed

    @property
    def taken(self):
        """How many records were taken so far."""
        return self._session.taken

    def name(self):
        """The next name (a str)."""
        return self._session.names(1)[0]

    def names(self, count):
        """The next ``count`` names, a list of str."""
        return self._session.names(_count(count))

    def people(self, count, fields=FIELDS, columns=False):
        """The next ``count`` people's ``fields``: a list of dicts, or with ``columns`` a dict of
        lists (one per field, ready for ``pandas.DataFrame``)."""
        return self._session.people(_count(count), _fields(fields), bool(columns))

    def iter_people(self, count, fields=FIELDS):
        """The next ``count`` people, one dict at a time, drawn ten thousand at a time so that
        memory stays the same however many are asked for (with ``unique``, as that many calls of
        ten thousand would give them)."""
        count = _count(count)
        fields = _fields(fields)
        while count > 0:
            chunk = min(count, _CHUNK)
            yield from self._session.people(chunk, fields, False)
            count -= chunk

    def __repr__(self):
        given = ", ".join(f"{key}={value!r}" for key, value in self._options.items())
        return f"quillory.Generator({given})"


def names(count, **options):
    """``count`` names as quillory-cli prints them for the same options, a list of str."""
    return Generator(**options).names(count)


def people(count, fields=FIELDS, columns=False, **options):
    """``count`` people's ``fields`` as quillory-cli writes them for the same options: a list of
    dicts, or with ``columns`` a dict of lists."""
    return Generator(**options).people(count, fields, columns)
