// Layout of the vector record, shared with the sequence that uses one as its ring.
#ifndef KX_BASE_VECTOR_REC_H
#define KX_BASE_VECTOR_REC_H

struct kx_vector_rec {
  int length;
  int elemsize;
  unsigned char *data;
};

#endif
