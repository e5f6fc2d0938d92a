# Packs files into a fresh datafile in the order given and checks the result.
#   -DDAT=dat tool         -DOUT=datafile
#   -DFILES=files separated by "|"
#   -DKIND=the type every object must have in `dat -l` (FONT, SAMP)
#   -DTYPE=object type to force on the files (empty: dat goes by extension)
#   -DEXPECT=regex that `dat -l` must also print (optional)
# -n0 keeps the given order (the font must stay the first object), -k keeps
# the file names as member names, -s1 drops the file dates and paths so that
# two builds give the same bytes.
string(REPLACE "|" ";" FILES "${FILES}")
get_filename_component(outdir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${outdir})
file(REMOVE ${OUT})
set(type_args "")
if(TYPE)
    set(type_args -t ${TYPE})
endif()
execute_process(COMMAND ${DAT} -n0 -s1 -a -k ${type_args} ${OUT} ${FILES}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dat failed packing ${OUT}")
endif()
# dat reports success even when it grabbed nothing useful (a font grid it
# cannot read gives "0 glyphs"), so look at what it stored.
execute_process(COMMAND ${DAT} -l ${OUT} OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
set(ok TRUE)
if(NOT rc EQUAL 0)
    set(ok FALSE)
endif()
foreach(f ${FILES})
    get_filename_component(name ${f} NAME)
    string(FIND "${listing}" "- ${KIND} - ${name} " at)
    if(at EQUAL -1)
        set(ok FALSE)
    endif()
endforeach()
if(EXPECT AND NOT listing MATCHES "${EXPECT}")
    set(ok FALSE)
endif()
if(NOT ok)
    file(REMOVE ${OUT})
    message(FATAL_ERROR "${OUT} does not hold what it should:\n${listing}")
endif()
