// language library
