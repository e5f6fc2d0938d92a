# Packs every painted BMP into one datafile, sorted by member name so the
# bytes do not depend on the order in which the families ran.
file(GLOB_RECURSE bmps ${ART_DIR}/*.bmp)
set(by_name "")
foreach(f ${bmps})
    get_filename_component(n ${f} NAME)
    list(APPEND by_name "${n}|${f}")
endforeach()
list(SORT by_name)
set(files "")
foreach(entry ${by_name})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 1 f)
    list(APPEND files ${f})
endforeach()
get_filename_component(outdir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${outdir})
file(REMOVE ${OUT})
# -s1 drops the grabber's DATE (file time) and ORIG (absolute path)
# properties, which would make the bytes depend on when and where it ran.
# -c1 compresses each member on its own, so a member is still found and read
# without unpacking the others; -c2 (the whole file at once) would make every
# lookup unpack the file from its start.
execute_process(COMMAND ${DAT} -n0 -s1 -c1 -a -k -t DATA ${OUT} ${files}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dat failed packing ${OUT}")
endif()
