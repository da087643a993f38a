# Fails when a file of the engines' folders (core/, calc/, deposit/) includes what they must not stand on: the
# store's names, record sets or database, or a Qt SQL, GUI or widget header.
#   cmake -DSOURCE_DIR=... -P CheckIncludes.cmake
set(forbidden
    "\"Names\\.h\"" "\"RecordSet\\.h\"" "\"Database\\.h\"" "\"SqliteDatabase\\.h\"" "\"Statements\\.h\""
    "\"Schema\\.h\"" "\"StoreError\\.h\"" "\"SqlText\\.h\"" "<QSql" "<QtSql" "<QWidget" "<QtWidgets" "<QtGui"
    "<QApplication" "<QGuiApplication")
set(found "")
foreach(folder core calc deposit)
    file(GLOB sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(source ${sources})
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line ${includes})
            foreach(pattern ${forbidden})
                if(line MATCHES "${pattern}")
                    file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
                    list(APPEND found "${name}: ${line}")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()
if(found)
    list(JOIN found "\n  " text)
    message(FATAL_ERROR "The engines stand on Qt Core alone; these includes must go:\n  ${text}")
endif()
message(STATUS "core/, calc/ and deposit/ include no store, SQL or widget header")
