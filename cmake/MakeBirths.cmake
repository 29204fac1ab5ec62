# cmake -DOUTPUT=file -DMALE=tsv -DFEMALE=tsv -DLAST=tsv -P MakeBirths.cmake
# Joins the three count lists of data/ into births.tsv, each line marked with its list: m, f or l.
set(content "# Births behind each built-in name (Source : INSEE, Licence Ouverte 2.0): list, name, count\n")
foreach(entry "m|${MALE}" "f|${FEMALE}" "l|${LAST}")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 list)
    list(GET entry 1 file)
    file(READ "${file}" lines)
    string(REPLACE "\r" "" lines "${lines}")
    string(REGEX REPLACE "([^\n]+)" "${list}\t\\1" lines "${lines}")
    string(APPEND content "${lines}")
endforeach()
file(WRITE "${OUTPUT}.part" "${content}")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
