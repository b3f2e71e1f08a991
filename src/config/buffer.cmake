# The bounded byte buffer and the raw field encoding that every serialised
# record of the station is built from.
target_sources(config PRIVATE mem_buffer.cpp RawFormat.cpp)
