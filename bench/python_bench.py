#!/usr/bin/python3
"""The Python package against floors made of Python alone, in one run (ratios; this machine is noisy).

- quillory.names(1_000_000) against making the same million str from their UTF-8 bytes in memory
  (blob.decode().split("\\n")).
- quillory.people(1_000_000, five fields) against making the same dicts from ready-made values.
- The peak memory of iter_people for 10,000,000 records against 100,000 (each in a process of its own).
- 100,000 fake.name() through the provider against Faker's own French name().

Run with the package on PYTHONPATH (build/<preset>/python); takes about a minute.
"""

import resource
import subprocess
import sys
import time

import quillory

FIELDS = ["first_name", "last_name", "sex", "birth_date", "email"]


def best(make, repeats=3):
    """The shortest of a few runs, in seconds, and the last result."""
    times, result = [], None
    for _ in range(repeats):
        start = time.perf_counter()
        result = make()
        times.append(time.perf_counter() - start)
    return min(times), result


def peak_megabytes(count):
    # The process's own high-water mark (a child's maximum resident set counts its parent's before exec).
    script = (
        "import quillory\n"
        f"for _ in quillory.Generator(seed=1).iter_people({count}, {FIELDS!r}): pass\n"
        "status = open('/proc/self/status').read().split('VmHWM:')[1]\n"
        "print(int(status.split()[0]) / 1024)\n"
    )
    return float(subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, check=True).stdout)


def main():
    count = 1_000_000
    took, drawn = best(lambda: quillory.names(count, seed=1))
    blob = ("\n".join(drawn)).encode("utf-8")
    floor, made = best(lambda: blob.decode("utf-8").split("\n"))
    assert made == drawn
    print(f"names:  {took:.3f} s, floor {floor:.3f} s: {took / floor:.2f} x")

    took, people = best(lambda: quillory.people(count, FIELDS, seed=1))
    values = [[person[field] for person in people] for field in FIELDS]
    floor, made = best(lambda: [{"first_name": a, "last_name": b, "sex": c, "birth_date": d, "email": e}
                                for a, b, c, d, e in zip(*values)])
    assert made == people
    print(f"people: {took:.3f} s, floor {floor:.3f} s: {took / floor:.2f} x")
    del people, values, made

    small, large = peak_megabytes(100_000), peak_megabytes(10_000_000)
    print(f"iter_people peak: {small:.1f} MB for 100,000, {large:.1f} MB for 10,000,000: {large - small:+.1f} MB")

    from faker import Faker
    from quillory.faker import Provider
    fake, own = Faker("fr_FR"), Faker("fr_FR")
    fake.add_provider(Provider)
    fake.seed_instance(1)
    own.seed_instance(1)
    took, _ = best(lambda: [fake.name() for _ in range(100_000)], 1)
    theirs, _ = best(lambda: [own.name() for _ in range(100_000)], 1)
    print(f"faker name(): provider {took:.3f} s, Faker's own {theirs:.3f} s: {took / theirs:.2f} x")
    print(f"(this process peaked at {resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024:.0f} MB)")


if __name__ == "__main__":
    main()
