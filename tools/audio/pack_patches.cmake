# Builds the DIGMID patch set for one tune with pat2dat and checks it.
#   -DPAT2DAT=tool  -DDAT=dat tool  -DOUT=patches.dat
#   -DLIST=our commented patch list  -DTUNE=tune.mid
#   -DCFG=where pat2dat reads it (default.cfg beside the patch folders)
# pat2dat grabs only the patches the tune plays and exits 0 even when the
# list lacks some of them (the tune would then be partly silent), so read its
# warnings. It always asks for the grand piano, which this tune does not play.
# The list goes into the patch set as it is and the player parses it again
# at run time: give it only the patch lines.
file(STRINGS ${LIST} lines REGEX "^[^#]")
list(JOIN lines "\n" text)
file(WRITE ${CFG} "${text}\n")
execute_process(COMMAND ${PAT2DAT} -o ${OUT} ${CFG} ${TUNE}
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pat2dat failed:\n${log}")
endif()
string(REGEX MATCHALL "can't find [^\n]*" missing "${log}")
list(FILTER missing EXCLUDE REGEX "instrument #1 ")
if(missing)
    file(REMOVE ${OUT})
    message(FATAL_ERROR "${CFG} lacks patches the tune plays: ${missing}")
endif()
# Every listed patch must have gone in: a line the tune never reaches means
# the numbering is off.
execute_process(COMMAND ${DAT} -l ${OUT} OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
list(FILTER lines INCLUDE REGEX "^[0-9]+ [^ ]+\\.pat")
foreach(line ${lines})
    string(REGEX REPLACE "^[0-9]+ ([^ ]+\\.pat).*" "\\1" pat "${line}")
    string(FIND "${listing}" "- PAT  - ${pat} " at)
    if(at EQUAL -1)
        file(REMOVE ${OUT})
        message(FATAL_ERROR "${pat} is listed but the tune does not use it:\n${listing}")
    endif()
endforeach()
