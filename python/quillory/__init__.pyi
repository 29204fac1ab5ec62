import datetime
import os
from typing import Iterable, Iterator, Literal, Sequence, overload

Field = Literal[
    "first_name", "last_name", "full_name", "sex", "birth_year", "birth_date", "title", "initials",
    "email", "first_name_ascii", "last_name_ascii", "birth_place", "birth_department", "street",
    "postcode", "city", "department", "address", "phone", "phone_international", "mobile",
    "mobile_international", "nir",
]
Value = str | int | datetime.date | None
Names = str | os.PathLike[str] | Iterable[str]

FIELDS: tuple[Field, ...]

class Generator:
    def __init__(
        self,
        *,
        part: Literal["first-last", "first", "last"] = ...,
        gender: Literal["both", "male", "female", "M", "F", "m", "f"] = ...,
        source: Literal["builtin", "user"] = ...,
        database: str | os.PathLike[str] | None = ...,
        first_names: Names | None = ...,
        last_names: Names | None = ...,
        strip_spaces: bool = ...,
        weighted: bool = ...,
        unique: bool = ...,
        born: int | str | None = ...,
        alive: bool = ...,
        age: int | str | None = ...,
        on: datetime.date | str | None = ...,
        seed: int | None = ...,
        ascii: bool = ...,
    ) -> None: ...
    @property
    def seed(self) -> int: ...
    @property
    def taken(self) -> int: ...
    def name(self) -> str: ...
    def names(self, count: int) -> list[str]: ...
    @overload
    def people(self, count: int, fields: Sequence[Field] = ..., columns: Literal[False] = ...) -> list[dict[str, Value]]: ...
    @overload
    def people(self, count: int, fields: Sequence[Field] = ..., *, columns: Literal[True]) -> dict[str, list[Value]]: ...
    def iter_people(self, count: int, fields: Sequence[Field] = ...) -> Iterator[dict[str, Value]]: ...

def names(
    count: int,
    *,
    part: Literal["first-last", "first", "last"] = ...,
    gender: Literal["both", "male", "female", "M", "F", "m", "f"] = ...,
    source: Literal["builtin", "user"] = ...,
    database: str | os.PathLike[str] | None = ...,
    first_names: Names | None = ...,
    last_names: Names | None = ...,
    strip_spaces: bool = ...,
    weighted: bool = ...,
    unique: bool = ...,
    born: int | str | None = ...,
    alive: bool = ...,
    age: int | str | None = ...,
    on: datetime.date | str | None = ...,
    seed: int | None = ...,
    ascii: bool = ...,
) -> list[str]: ...
def people(
    count: int,
    fields: Sequence[Field] = ...,
    columns: bool = ...,
    *,
    part: Literal["first-last", "first", "last"] = ...,
    gender: Literal["both", "male", "female", "M", "F", "m", "f"] = ...,
    source: Literal["builtin", "user"] = ...,
    database: str | os.PathLike[str] | None = ...,
    first_names: Names | None = ...,
    last_names: Names | None = ...,
    strip_spaces: bool = ...,
    weighted: bool = ...,
    unique: bool = ...,
    born: int | str | None = ...,
    alive: bool = ...,
    age: int | str | None = ...,
    on: datetime.date | str | None = ...,
    seed: int | None = ...,
    ascii: bool = ...,
) -> list[dict[str, Value]] | dict[str, list[Value]]: ...
