# Copies the shipped Motion_set.txt beside the program when none is there, as
# an installation would; a file the user already has is never replaced.
if(NOT EXISTS "${DESTINATION}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
