# Builds the OCR support archive: a zip whose single top folder is the engine
# folder with its seven entries. Run with cmake -P and
#   STAGE     scratch folder
#   ARCHIVE   the zip to write
#   FOLDER    the engine folder's name
#   TESSDATA  the system's tessdata folder
#   WRAPPER   the configured "tesseract" entry
#   ZIP       the zip program
file(REMOVE_RECURSE "${STAGE}")
set(engine "${STAGE}/${FOLDER}")
foreach(library jpeg leptonica libpng libtiff)
  file(MAKE_DIRECTORY "${engine}/${library}/lib")
endforeach()
file(MAKE_DIRECTORY "${engine}/lib" "${engine}/tessdata/configs")
file(COPY "${TESSDATA}/eng.traineddata" "${TESSDATA}/osd.traineddata"
     DESTINATION "${engine}/tessdata")
file(GLOB configs "${TESSDATA}/configs/*")
if(configs)
  file(COPY ${configs} DESTINATION "${engine}/tessdata/configs")
endif()
file(COPY "${WRAPPER}" DESTINATION "${engine}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)
file(REMOVE "${ARCHIVE}")
execute_process(COMMAND "${ZIP}" -rqX "${ARCHIVE}" "${FOLDER}"
                WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zip failed: ${status}")
endif()
file(REMOVE_RECURSE "${STAGE}")
