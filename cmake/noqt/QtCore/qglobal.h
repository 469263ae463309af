#error "toneloft_core must not use Qt"
