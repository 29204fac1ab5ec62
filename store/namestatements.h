#pragma once

/**
 * Every statement the program runs against the name database. A name always travels as the bound
 * parameter ?1, never inside the statement text, so any character of a name is safe and a name with
 * a quote can be deleted like any other. Ordering, duplicate removal and the matching of deletes use
 * the name order of compareNames() (registered on each connection as french_nocase): letter case
 * never counts, accents do.
 */
namespace quillory::statements {

// List fill, User List.
inline constexpr char kUserFirstNames[] = "select * from user_firstname order by firstname collate french_nocase";
inline constexpr char kUserLastNames[] = "select * from user_lastname order by lastname collate french_nocase";

// List fill, Halvard's List. Duplicates of a first name show once; duplicates of a last name do not.
inline constexpr char kSystemLastNames[] = "select * from system_lastname order by Last collate french_nocase";
inline constexpr char kBothFirstNames[] =
    "select mfirst collate french_nocase as firstname from system_mfirstname union "
    "select ffirst collate french_nocase as firstname from system_ffirstname order by firstname";
inline constexpr char kMaleFirstNames[] =
    "select distinct mfirst collate french_nocase as mfirst from system_mfirstname order by mfirst";
inline constexpr char kFemaleFirstNames[] =
    "select distinct ffirst collate french_nocase as ffirst from system_ffirstname order by ffirst";

// Adding and importing. A first name added to Halvard's List joins the female first names.
inline constexpr char kInsertSystemFirstName[] = "insert into system_ffirstname (Ffirst) values (?1)";
inline constexpr char kInsertUserFirstName[] = "insert into user_firstname (firstname) values (?1)";
inline constexpr char kInsertSystemLastName[] = "insert into system_lastname ([Last]) values (?1)";
inline constexpr char kInsertUserLastName[] = "insert into user_lastname (lastname) values (?1)";

// Deleting one name from Halvard's List removes it in every letter case and every copy.
inline constexpr char kDeleteMaleFirstName[] = "delete from system_mfirstname where Mfirst = ?1 collate french_nocase";
inline constexpr char kDeleteFemaleFirstName[] =
    "delete from system_ffirstname where Ffirst = ?1 collate french_nocase";
inline constexpr char kDeleteSystemLastName[] = "delete from system_lastname where Last = ?1 collate french_nocase";

// Clearing the User List of one kind.
inline constexpr char kClearUserFirstNames[] = "delete from user_firstname";
inline constexpr char kClearUserLastNames[] = "delete from user_lastname";

} // namespace quillory::statements
