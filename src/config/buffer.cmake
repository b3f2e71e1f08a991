# The raw field encoding that every serialised record of the station is
# built from, over the byte buffer of the utility library.
target_sources(config PRIVATE RawFormat.cpp)
