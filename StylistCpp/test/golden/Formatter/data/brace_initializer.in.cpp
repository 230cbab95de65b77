int table[] = {1, 2,
    3};
