"""Placeholder: the Faker provider comes next."""
