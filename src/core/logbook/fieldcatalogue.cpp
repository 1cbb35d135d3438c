// placeholder, to be written
