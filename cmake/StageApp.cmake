# Lays out the runtime directory beside the executable. The database is created only
# when it is absent or empty: a build never overwrites the user's data.
foreach(dir Print Print_bak Template ErrorLog 自动备份数据)
    file(MAKE_DIRECTORY "${APP_DIR}/${dir}")
endforeach()

if(EXISTS "${SOURCE_DIR}/resources/Print_bak")
    file(COPY "${SOURCE_DIR}/resources/Print_bak/" DESTINATION "${APP_DIR}/Print_bak")
endif()
# The print style a fresh database names starts as a copy of the template; a style the user
# has changed since is never overwritten.
if(EXISTS "${SOURCE_DIR}/resources/Print_bak/Sample.fr3" AND NOT EXISTS "${APP_DIR}/Print/ss_sale1.fr3")
    file(COPY_FILE "${SOURCE_DIR}/resources/Print_bak/Sample.fr3" "${APP_DIR}/Print/ss_sale1.fr3")
endif()
if(EXISTS "${SOURCE_DIR}/resources/Template")
    file(COPY "${SOURCE_DIR}/resources/Template/" DESTINATION "${APP_DIR}/Template")
endif()
# The program's own documentation, opened from the help menu.
if(EXISTS "${SOURCE_DIR}/resources/help")
    file(COPY "${SOURCE_DIR}/resources/help/" DESTINATION "${APP_DIR}/help")
endif()
if(EXISTS "${SOURCE_DIR}/resources/自述文件.txt")
    file(COPY "${SOURCE_DIR}/resources/自述文件.txt" DESTINATION "${APP_DIR}")
endif()

# An empty file holds no data (a creation killed by an earlier version left such files).
set(database_size 0)
if(EXISTS "${APP_DIR}/qlodata8.0.mdb")
    file(SIZE "${APP_DIR}/qlodata8.0.mdb" database_size)
endif()
if(database_size EQUAL 0)
    execute_process(COMMAND "${INITDB}" "${APP_DIR}/qlodata8.0.mdb" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "quillo-initdb failed")
    endif()
endif()
