# The product version, defined here and nowhere else: the version records of
# Halyard.dll (and Quillon32.dll), the installer, the archive names and the
# update announcement all take it from here.
#
# The English version record has always carried the previous patch level;
# hosts show whichever record matches the system's language, and users and
# their scripts know both numbers, so both stay as shipped. Releases are
# named after HALYARD_VERSION.
set(HALYARD_VERSION 4.1.4.0)
set(HALYARD_VERSION_EN 4.1.3.0)
