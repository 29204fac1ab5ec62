"""A Faker provider whose French names and people are Quillory's.

    from faker import Faker
    from quillory.faker import Provider

    fake = Faker("fr_FR")
    fake.add_provider(Provider)                                     # the built-in names, by births
    fake.add_provider(Provider(fake, born="1960-1969", alive=True))  # or options, as quillory's
    fake.seed_instance(42)
    fake.name(), fake.first_name_female(), fake.french_person(fields=["full_name", "nir"])

``first_name``, ``first_name_male``, ``first_name_female``, ``last_name``, ``name``, ``name_male``
and ``name_female`` come from Quillory's built-in lists, each name drawn in proportion to the
people born with it (or as the options given ask), and ``french_person`` gives a whole person whose
fields agree. Each value is drawn from a number taken from the Faker instance's own random state,
so that ``fake.seed_instance(n)`` (or ``fake.seed(n)``) makes the values reproducible as Faker's own
are; the value of a number is that of ``quillory-cli --seed`` with that number.
"""

from faker.providers import BaseProvider

from . import FIELDS, _PROGRAM_FOLDER, _arguments, _engine, _fields


class Provider(BaseProvider):
    """Quillory's names and people for a Faker instance (see the module's help)."""

    def __init__(self, generator, **options):
        super().__init__(generator)
        if options.get("unique"):
            raise ValueError("unique=: each value is drawn from a number of its own, and never kept apart")
        if options.get("seed") is not None:
            raise ValueError("seed=: the values follow the Faker instance's seed (fake.seed_instance)")
        options.setdefault("weighted", True)
        self._options = options
        self._sessions = {}
        self._session("first-last", None)  # each mistake raised now, not at the first name

    # One engine for each kind of value, its pools read once.
    def _session(self, part, gender):
        key = (part, gender)
        session = self._sessions.get(key)
        if session is None:
            options = dict(self._options, part=part)
            if gender is not None:
                options["gender"] = gender
            arguments, contents = _arguments(options)
            session = _engine.Session(
                arguments, contents.get("first_names"), contents.get("last_names"), _PROGRAM_FOLDER
            )
            self._sessions[key] = session
        return session

    def _name(self, part, gender=None):
        return self._session(part, gender).name_of_seed(self.generator.random.getrandbits(64))

    def first_name(self):
        return self._name("first")

    def first_name_male(self):
        return self._name("first", "male")

    def first_name_female(self):
        return self._name("first", "female")

    def last_name(self):
        return self._name("last")

    def name(self):
        return self._name("first-last")

    def name_male(self):
        return self._name("first-last", "male")

    def name_female(self):
        return self._name("first-last", "female")

    def french_person(self, fields=FIELDS):
        """A whole French person: a dict of ``fields`` (every field by default) that agree."""
        session = self._session("first-last", None)
        return session.person_of_seed(self.generator.random.getrandbits(64), _fields(fields))
