"""The Faker provider with Debian's Faker: its values follow the instance's seed, are Quillory's
draws of that number, and its first names of given years are those years' births."""

import csv
import math
import os
import pathlib

import pytest
from faker import Faker

import quillory
from quillory.faker import Provider

DECADES = pathlib.Path(__file__).resolve().parents[2] / "data" / "first_names_by_decade.tsv"


def faker(**options):
    fake = Faker("fr_FR")
    fake.add_provider(Provider(fake, **options) if options else Provider)
    return fake


def test_values_follow_the_instances_seed_and_are_quillorys_draws():
    methods = ("name", "first_name", "first_name_male", "first_name_female", "last_name", "name_male",
               "name_female")
    one, two = faker(), faker()
    one.seed_instance(42)
    two.seed_instance(42)
    first = [getattr(one, method)() for method in methods * 20]
    assert first == [getattr(two, method)() for method in methods * 20]
    one.seed_instance(43)
    assert [getattr(one, method)() for method in methods * 20] != first
    # Faker's shared seed too, for instances without one of their own.
    shared = []
    for _ in range(2):
        fake = faker()
        fake.seed(5)
        shared.append([fake.name() for _ in range(20)])
    assert shared[0] == shared[1]
    # Each value is quillory's draw of the number the instance's random state gives.
    three = faker()
    three.seed_instance(7)
    number = Faker("fr_FR")
    number.seed_instance(7)
    for method, options in (("name", {}), ("first_name_female", dict(part="first", gender="female")),
                            ("last_name", dict(part="last"))):
        seed = number.random.getrandbits(64)
        assert getattr(three, method)() == quillory.names(1, seed=seed, weighted=True, **options)[0]
    seed = number.random.getrandbits(64)
    fields = ["full_name", "sex", "birth_date", "nir", "address"]
    assert three.french_person(fields=fields) == quillory.people(1, fields, seed=seed, weighted=True)[0]


def test_first_names_of_given_years_are_as_common_as_their_births():
    with open(DECADES, newline="", encoding="utf-8") as table:
        births = {row["name"]: int(row["1960"]) for row in csv.DictReader(table, delimiter="\t")
                  if row["sex"] == "F"}
    top = sorted(births, key=births.get, reverse=True)[:30]
    whole = sum(births.values())
    fake = faker(born="1960-1969", gender="female")
    fake.seed_instance(1960)
    draws = 20_000
    counts = {}
    for _ in range(draws):
        name = fake.first_name()
        counts[name] = counts.get(name, 0) + 1
    assert all(births.get(name, 0) > 0 for name in counts), "a name no girl of the 1960s was given"
    expected = [draws * births[name] / whole for name in top]
    given = [counts.get(name, 0) for name in top]
    expected.append(draws - sum(expected))
    given.append(draws - sum(given))
    chi = sum((g - e) ** 2 / e for g, e in zip(given, expected))
    freedom = len(expected) - 1
    assert chi < freedom + 5 * math.sqrt(2 * freedom), (chi, list(zip(top, given)))


def test_options_are_refused_where_they_have_no_meaning():
    fake = Faker("fr_FR")
    with pytest.raises(ValueError, match="unique="):
        Provider(fake, unique=True)
    with pytest.raises(ValueError, match="seed="):
        Provider(fake, seed=3)
    with pytest.raises(ValueError, match="the range runs backwards"):
        Provider(fake, born="1969-1960")
