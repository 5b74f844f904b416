# What Windows shows of tov's program files and installer (Properties →
# Details, Explorer, the list of installed programs), all from the project's
# one version: 0.8.0 is shown as "0.80", the form the program has always had.
set(TOV_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}${PROJECT_VERSION_PATCH}")
set(TOV_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(TOV_COPYRIGHT "Copyright (C) 2026 the tov authors")
set(TOV_ICON ${CMAKE_CURRENT_LIST_DIR}/tov.ico)

configure_file(${CMAKE_CURRENT_LIST_DIR}/tov.manifest.in ${CMAKE_BINARY_DIR}/resources/tov.manifest @ONLY)
# For the packages, which are made outside CMake.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.sh CONTENT
    "version='${TOV_VERSION}'\nfile_version='${TOV_FILE_VERSION}'\ncopyright='${TOV_COPYRIGHT}'\nicon='${TOV_ICON}'\n")

# The version resource and the icon of one program file.
function(tov_details target description)
    set(TOV_ORIGINAL_FILENAME ${target}.exe)
    set(TOV_DESCRIPTION "${description}")
    set(rc ${CMAKE_BINARY_DIR}/resources/${target}_details.rc)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/details.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${TOV_ICON})
    set_target_properties(${target} PROPERTIES TOV_DESCRIPTION "${description}")
endfunction()
